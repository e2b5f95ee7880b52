#pragma once
// The thirteen windows made as the start-up makes them, in a fresh working folder, with every box
// recorded instead of shown.

#include "common/RecordingMessages.h"
#include "common/TempDatabase.h"
#include "data/LinkFile.h"
#include "windows/shell/Startup.h"

#include <QApplication>

namespace kavelon::test {

struct Forms {
    TempDatabase database;
    RecordingMessages boxes;

    // withFile: the database file with its five tables; without, the folder holds no file.
    explicit Forms(bool withFile = true) : database(withFile) {
        database.enter();
        QApplication::setQuitOnLastWindowClosed(false);
        applyFontSubstitutions();
        createForms();
    }
    // A link file in place of the database file, naming a server database at uri.
    struct LinkTo {
        QString uri;
    };
    explicit Forms(const LinkTo& link) : database(false) {
        link::write(database.path(), link.uri);
        database.enter();
        QApplication::setQuitOnLastWindowClosed(false);
        applyFontSubstitutions();
        createForms();
    }
    ~Forms() { destroyForms(); }
};

} // namespace kavelon::test
