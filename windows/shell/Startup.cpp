#include "windows/shell/Startup.h"

#include "app/Buttons.h"
#include "app/MessageText.h"
#include "app/Messages.h"
#include "app/ModalShowing.h"
#include "data/Errors.h"
#include "windows/journal/Unit2.h"
#include "windows/journal/Unit3.h"
#include "windows/journal/Unit4.h"
#include "windows/reference/Unit10.h"
#include "windows/reference/Unit11.h"
#include "windows/reference/Unit12.h"
#include "windows/reference/Unit5.h"
#include "windows/reference/Unit6.h"
#include "windows/reference/Unit7.h"
#include "windows/reference/Unit8.h"
#include "windows/reference/Unit9.h"
#include "windows/shell/HelpCommand.h"
#include "windows/shell/Unit1.h"
#include "windows/shell/Unit13.h"

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <memory>
#include <tuple>

namespace kavelon {

namespace {

// The windows own themselves through these; Form1 … Form13 are the views the windows use.
std::tuple<std::unique_ptr<TForm1>, std::unique_ptr<TForm2>, std::unique_ptr<TForm3>,
           std::unique_ptr<TForm4>, std::unique_ptr<TForm5>, std::unique_ptr<TForm6>,
           std::unique_ptr<TForm7>, std::unique_ptr<TForm8>, std::unique_ptr<TForm9>,
           std::unique_ptr<TForm10>, std::unique_ptr<TForm11>, std::unique_ptr<TForm12>,
           std::unique_ptr<TForm13>>
    forms;

template <std::size_t I, class Form> void create(Form*& global) {
    std::get<I>(forms) = std::make_unique<Form>();
    global = std::get<I>(forms).get();
}

template <std::size_t I, class Form> void destroy(Form*& global) {
    std::get<I>(forms).reset();
    global = nullptr;
}

} // namespace

void applyFontSubstitutions() {
    // fontconfig would give Comic Neue and Caladea, which have no Cyrillic letters, and DejaVu
    // Sans, far wider than the old 11-pixel "MS Sans Serif".
    const std::pair<const char*, const char*> table[] = {
        {"MS Sans Serif", "Liberation Sans"}, {"Segoe UI", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},        {"Arial", "Liberation Sans"},
        {"Constantia", "DejaVu Serif"},       {"Georgia", "DejaVu Serif"},
        {"Cambria", "Liberation Serif"},      {"Times New Roman", "Liberation Serif"},
        {"Comic Sans MS", "Carlito"},         {"Calibri", "Carlito"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto& [family, substitute] : table)
        QFont::insertSubstitution(QString::fromLatin1(family), QString::fromLatin1(substitute));
}

void applyLocale() {
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void createForms() {
    pressFocusedButtonsOnEnter();
    create<0>(Form1);
    setMainWindow(Form1);
    create<1>(Form2);
    create<2>(Form3);
    create<3>(Form4);
    create<4>(Form5);
    create<5>(Form6);
    create<6>(Form7);
    create<7>(Form8);
    create<8>(Form9);
    create<9>(Form10);
    create<10>(Form11);
    create<11>(Form12);
    create<12>(Form13);
}

void destroyForms() {
    destroy<12>(Form13);
    destroy<11>(Form12);
    destroy<10>(Form11);
    destroy<9>(Form10);
    destroy<8>(Form9);
    destroy<7>(Form8);
    destroy<6>(Form7);
    destroy<5>(Form6);
    destroy<4>(Form5);
    destroy<3>(Form4);
    destroy<2>(Form3);
    destroy<1>(Form2);
    setMainWindow(nullptr);
    destroy<0>(Form1);
}

int runProgram() {
    try {
        createForms();
    } catch (const Error& e) {
        messages().fatalBox(
            fatalText(QString::fromLatin1(e.className()), programFileName(), 0, e.message()));
        destroyForms();
        return 1;
    } catch (const std::exception& e) {
        messages().fatalBox(fatalText(QStringLiteral("Exception"), programFileName(), 0,
                                      QString::fromLocal8Bit(e.what())));
        destroyForms();
        return 1;
    }
    int exitCode = 0;
    if (!programEnding()) {
        showMainWindow(Form1);
        exitCode = QApplication::exec();
    }
    quitHelpViewer();
    destroyForms();
    return exitCode;
}

} // namespace kavelon
