// The help viewer run offscreen: it reports what its window shows and quits.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ViewerState {
    int exitCode = -1;
    QMap<QString, QString> lines; // title, file, topic, shown, top
    QString text;                 // the window's whole text
};

ViewerState runViewer(const QString& workingFolder, const QStringList& arguments) {
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KAVELON_HELP_REPORT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    viewer.setProcessEnvironment(environment);
    viewer.setWorkingDirectory(workingFolder);
    viewer.start(QStringLiteral(KAVELON_BUILD_DIR "/kavelon-help"), arguments);
    ViewerState state;
    if (!viewer.waitForFinished(60000)) {
        viewer.kill();
        viewer.waitForFinished();
        return state;
    }
    state.exitCode = viewer.exitStatus() == QProcess::NormalExit ? viewer.exitCode() : -2;
    const QString output = QString::fromUtf8(viewer.readAllStandardOutput());
    const qsizetype textStart = output.indexOf(QStringLiteral("\ntext:\n"));
    for (const QString& line : output.left(textStart).split('\n')) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        state.lines.insert(line.left(colon), colon < 0 ? QString() : line.mid(colon + 2));
    }
    state.text = output.mid(textStart + 7);
    return state;
}

const QString kHelpFile = QStringLiteral("СПРАВКА");

} // namespace

TEST(HelpViewer, ShowsTheHelpFileAtTheAskedTopic) {
    QTemporaryDir emptyFolder;
    // Nothing in the working folder: the file beside the viewer is taken.
    ViewerState state = runViewer(emptyFolder.path(), {kHelpFile, kHelpFile});
    ASSERT_EQ(state.exitCode, 0);
    EXPECT_EQ(state.lines["title"], QStringLiteral("Кавелон — справка диспетчера"));
    EXPECT_EQ(state.lines["file"], QStringLiteral(KAVELON_BUILD_DIR "/СПРАВКА"));
    EXPECT_EQ(state.lines["topic"], QStringLiteral("found"));
    EXPECT_EQ(state.lines["shown"], QStringLiteral("Кавелон — справка диспетчера"));
    for (const char* words : {"Новый заказ", "Редактировать", "поиск по клиенту",
                              "поиск по водителю", "сортировать по:", "Удалить", "Печать заказа",
                              "Клиенты", "Населённые пункты", "Транспортные средства", "Водители"})
        EXPECT_TRUE(state.text.contains(QString::fromUtf8(words))) << words;

    // A topic further down is scrolled into view, by anchor and by heading text alike.
    state = runViewer(emptyFolder.path(), {kHelpFile, QStringLiteral("Печать")});
    EXPECT_EQ(state.lines["topic"], QStringLiteral("found"));
    EXPECT_EQ(state.lines["shown"], QStringLiteral("Печать заказов"));
    EXPECT_NE(state.lines["top"], QStringLiteral("Кавелон — справка диспетчера"));
    state = runViewer(emptyFolder.path(), {kHelpFile, QStringLiteral("сортировка")});
    EXPECT_EQ(state.lines["shown"], QStringLiteral("Сортировка"));

    // An unknown topic shows the file from its start.
    state = runViewer(emptyFolder.path(), {kHelpFile, QStringLiteral("Нет такой темы")});
    EXPECT_EQ(state.exitCode, 0);
    EXPECT_EQ(state.lines["topic"], QStringLiteral("not found"));
    EXPECT_EQ(state.lines["top"], QStringLiteral("Кавелон — справка диспетчера"));
}

TEST(HelpViewer, WorkingFolderComesFirstAndAMissingFileIsSaidInItsWindow) {
    QTemporaryDir folder;
    QFile own(QDir(folder.path()).filePath(kHelpFile));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("<html><head><title>Своя справка</title></head><body>"
              "<h1>Начало</h1><p>Текст.</p></body></html>");
    own.close();
    ViewerState state = runViewer(folder.path(), {kHelpFile, kHelpFile});
    EXPECT_EQ(state.lines["title"], QStringLiteral("Своя справка"));
    EXPECT_EQ(state.lines["file"], QDir(folder.path()).filePath(kHelpFile));

    // A plain Markdown file serves as well; its headings are topics.
    ASSERT_TRUE(own.open(QIODevice::WriteOnly | QIODevice::Truncate));
    own.write("# Начало\n\nТекст.\n\n## Печать\n\nКак печатать.\n");
    own.close();
    state = runViewer(folder.path(), {kHelpFile, QStringLiteral("печать")});
    EXPECT_EQ(state.lines["title"], QStringLiteral("Справка Кавелона"));
    EXPECT_EQ(state.lines["shown"], QStringLiteral("Печать"));
    EXPECT_FALSE(state.text.contains('#'));

    const QString missing = QStringLiteral("НЕТ-ТАКОЙ-СПРАВКИ");
    state = runViewer(folder.path(), {missing, kHelpFile});
    ASSERT_EQ(state.exitCode, 0);
    EXPECT_EQ(state.lines["title"], QStringLiteral("Справка Кавелона"));
    EXPECT_EQ(state.lines["file"], QString());
    EXPECT_TRUE(state.text.startsWith(QStringLiteral("Файл справки не найден")))
        << state.text.toStdString();
    EXPECT_TRUE(state.text.contains(QStringLiteral("«") + missing + QStringLiteral("»")));
    EXPECT_TRUE(state.text.contains(folder.path()));

    state = runViewer(folder.path(), {});
    EXPECT_EQ(state.exitCode, 0);
    EXPECT_TRUE(state.text.contains(QStringLiteral("не назван файл справки")));
}
