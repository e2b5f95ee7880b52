#include "app/Messages.h"

#include "app/MessageDialog.h"
#include "app/MessageText.h"
#include "app/SystemBox.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>

namespace kavelon {

namespace {

// Gives the focus back to where it was before a box took it: the box is modal to the whole
// program, and afterwards the user carries on in the same window and control.
class FocusKeeper {
public:
    FocusKeeper() : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {}
    ~FocusKeeper() {
        if (!window_ || !window_->isVisible())
            return;
        window_->activateWindow();
        if (focus_ && focus_->window() == window_)
            focus_->setFocus(Qt::OtherFocusReason);
    }

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

class ProductionMessages final : public MessageSeam {
public:
    void messageBox(const QString& text) override {
        FocusKeeper keeper;
        MessageDialog box(text);
        box.exec();
    }

    void errorBox(const QString& text) override {
        FocusKeeper keeper;
        makeErrorBox(text)->exec();
    }

    void fatalBox(const QString& text) override { makeFatalBox(text)->exec(); }

    Answer confirm(const QString& caption, const QString& text) override {
        FocusKeeper keeper;
        return makeConfirmBox(caption, text)->exec() == QMessageBox::Ok ? Answer::Ok
                                                                        : Answer::Cancel;
    }
};

// For runs of the real program by tests: KAVELON_BOXES_TO_STDERR=1 writes every box to the
// standard error stream instead of showing it, and answers OK. Nothing else reads it.
class StderrMessages final : public MessageSeam {
public:
    void messageBox(const QString& text) override { write("message", applicationTitle(), text); }
    void errorBox(const QString& text) override { write("error", applicationTitle(), text); }
    void fatalBox(const QString& text) override { write("fatal", "Application Error", text); }
    Answer confirm(const QString& caption, const QString& text) override {
        write("confirm", caption, text);
        return Answer::Ok;
    }

private:
    static void write(const char* kind, const QString& caption, const QString& text) {
        std::fprintf(stderr, "[%s box] %s: %s\n", kind, caption.toUtf8().constData(),
                     text.toUtf8().constData());
        std::fflush(stderr);
    }
};

MessageSeam* installed = nullptr;

MessageSeam& production() {
    static ProductionMessages boxes;
    static StderrMessages toStderr;
    static const bool useStderr = qEnvironmentVariableIntValue("KAVELON_BOXES_TO_STDERR") == 1;
    return useStderr ? static_cast<MessageSeam&>(toStderr) : boxes;
}

} // namespace

MessageSeam& messages() {
    return installed ? *installed : production();
}

void setMessages(MessageSeam* seam) {
    installed = seam;
}

} // namespace kavelon
