#pragma once
// JPEG pictures of the program (the main window's background), decoded with libjpeg.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kavelon {

// Decodes a complete JPEG. Missing, truncated or damaged data throws ResourceError; libjpeg's
// own habit of ending the process or patching a short file with grey never reaches the caller.
QImage decodeJpeg(const QByteArray& data);

// Reads a JPEG that is built into the program (":/background.jpg") and decodes it; a missing
// resource throws ResourceError as well.
QImage loadJpegResource(const QString& path);

} // namespace kavelon
