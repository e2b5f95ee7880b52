#include "data/SystemLocale.h"

namespace kavelon {

const QLocale& systemLocale() {
    static const QLocale locale = [] {
        const QLocale system = QLocale::system();
        return system.language() == QLocale::C ? QLocale(QLocale::Russian, QLocale::Russia)
                                               : system;
    }();
    return locale;
}

const QCollator& systemCollator() {
    static const QCollator collator(systemLocale());
    return collator;
}

} // namespace kavelon
