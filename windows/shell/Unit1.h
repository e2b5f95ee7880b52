#pragma once
// TForm1, the main window "Главная": the banner, the background picture, the five buttons that
// show the journal and the four reference lists, and the menu "Помощь". It owns the one
// database connection, ADOConnection1.

#include "data/Connection.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;

    // Made first and destroyed last of the window's parts, so that no cursor outlives it.
    const std::unique_ptr<kavelon::Connection> ADOConnection1;

    QLabel* Image1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button2 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void N2Click();
    void N4Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpComponents();
};

extern TForm1* Form1;
