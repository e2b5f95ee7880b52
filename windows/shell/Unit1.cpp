#include "windows/shell/Unit1.h"

#include "app/Buttons.h"
#include "app/FormSetup.h"
#include "app/Guard.h"
#include "app/ModalShowing.h"
#include "app/Opening.h"
#include "windows/journal/Unit2.h"
#include "windows/reference/Unit11.h"
#include "windows/reference/Unit5.h"
#include "windows/reference/Unit7.h"
#include "windows/reference/Unit9.h"
#include "windows/shell/HelpCommand.h"
#include "windows/shell/JpegPicture.h"
#include "windows/shell/Unit13.h"

#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace kavelon;

TForm1* Form1 = nullptr;

namespace {

// The background picture built into the program. KAVELON_BACKGROUND names another file instead;
// only the tests use it, to start the program on a damaged picture.
QImage loadBackground() {
    const QString path = qEnvironmentVariable("KAVELON_BACKGROUND");
    if (path.isEmpty())
        return loadJpegResource(QStringLiteral(":/background.jpg"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ResourceError(QStringLiteral("Cannot open the picture %1").arg(path));
    return decodeJpeg(file.readAll());
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, top, 177, 33);
    b->setFont(pixelFont(QStringLiteral("Segoe UI"), 15));
    b->setAutoDefault(false);
    b->setDefault(false);
    fitCaption(b);
    return b;
}

} // namespace

TForm1::TForm1() : ADOConnection1(std::make_unique<Connection>()) {
    setUpComponents();
    // The picture is part of the window's design and is read before the connection opens.
    Image1->setPixmap(QPixmap::fromImage(loadBackground()));
    openAtStart(*ADOConnection1);
}

TForm1::~TForm1() = default;

void TForm1::setUpComponents() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Главная"));
    setFormFrame(this);
    setFont(defaultFormFont());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(535, 386);
    setCentralWidget(client);

    // From the back to the front: later components are drawn over earlier ones.
    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 36, 535, 350);
    Image1->setScaledContents(true);

    Bevel1 = new QFrame(client);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(24, 80, 201, 305);
    // Lowered: dark along the top and left, light along the bottom and right.
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setLineWidth(1);
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label2 = new QLabel(QStringLiteral("Кавелон"), client);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(0, 0, 535, 36);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setFont(pixelFont(QStringLiteral("Constantia"), 29));
    Label2->setAutoFillBackground(true);
    QPalette banner = Label2->palette();
    banner.setColor(QPalette::Window, banner.color(QPalette::ButtonText));
    banner.setColor(QPalette::WindowText, Qt::white);
    Label2->setPalette(banner);

    Button1 = button(client, "Button1", QStringLiteral("Заказ"), 32, 104);
    Button5 = button(client, "Button5", QStringLiteral("Клиенты"), 32, 160);
    Button3 = button(client, "Button3", QStringLiteral("Населённые пункты"), 32, 216);
    Button4 = button(client, "Button4", QStringLiteral("Транспортные средства"), 32, 272);
    Button2 = button(client, "Button2", QStringLiteral("Водители"), 32, 328);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Button5);
    Button1->setFocus();

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setNativeMenuBar(false);
    setMenuBar(MainMenu1);
    N1 = MainMenu1->addMenu(QStringLiteral("Помощь"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = N1->addAction(QStringLiteral("Справка"));
    N2->setObjectName(QStringLiteral("N2"));
    N3 = N1->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    N4 = N1->addAction(QStringLiteral("О программе..."));
    N4->setObjectName(QStringLiteral("N4"));

    // The client area is fixed; the window is as tall as the menu bar makes it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TForm1::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &TForm1::Button3Click));
    connect(Button4, &QPushButton::clicked, this, guarded(this, &TForm1::Button4Click));
    connect(Button5, &QPushButton::clicked, this, guarded(this, &TForm1::Button5Click));
    connect(N2, &QAction::triggered, this, guarded(this, &TForm1::N2Click));
    connect(N4, &QAction::triggered, this, guarded(this, &TForm1::N4Click));
}

void TForm1::Button1Click() {
    showModal(Form2);
}

void TForm1::Button2Click() {
    showModal(Form11);
}

void TForm1::Button3Click() {
    showModal(Form7);
}

void TForm1::Button4Click() {
    showModal(Form9);
}

void TForm1::Button5Click() {
    showModal(Form5);
}

void TForm1::N2Click() {
    helpCommand(QStringLiteral("СПРАВКА"));
}

void TForm1::N4Click() {
    showModal(Form13);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once, whatever else is shown.
    event->accept();
    endProgram(0);
}
