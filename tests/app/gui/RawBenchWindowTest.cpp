// The main window: start-up state, Open, the result tables, Save as and `RawBench FILE`.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>

#include "Ant_Manager.h"
#include "GuiTestSupport.h"
#include "RawBench.h"
#include "rawfile/RawJobWriter.h"

namespace {

const QStringList kJobActions = {"action_Calculate", "action_Delete_Base", "action_Delete_Rover",
                                 "action_Export", "actionSave_as"};

// A window in a scratch working directory with the two-antenna catalogue and a scripted prompter.
struct Window {
    ScratchDir scratch;
    ScriptedPrompter prompter;
    std::unique_ptr<RawBench> window;

    explicit Window(const QByteArray& catalogue = twoAntennaCatalogue()) {
        writeFile("Antenna.ini", catalogue);
        window = std::make_unique<RawBench>();
        window->setPrompter(&prompter);
    }
    QTableWidget* table(const char* name) const {
        auto* table = window->findChild<QTableWidget*>(QString::fromLatin1(name));
        EXPECT_NE(table, nullptr) << name;
        return table;
    }
    QAction* action(const QString& name) const { return window->findChild<QAction*>(name); }
    QString cell(const char* name, int row, int column) const {
        QTableWidgetItem* item = table(name)->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QStringList jobRow(const char* name) const {
        QStringList texts;
        for (int c = 0; c < table(name)->columnCount(); ++c) texts << cell(name, 0, c);
        return texts;
    }
    QComboBox* combo(const char* name, int row, int column) const {
        return qobject_cast<QComboBox*>(table(name)->cellWidget(row, column));
    }
    // Writes content to a file of the scratch directory and opens it through the Open slot.
    QString open(const QString& fileName, const QByteArray& content) {
        const QString path = scratch.path(fileName);
        writeFile(path, content);
        prompter.openAnswers.push_back(path);
        action("action_Open")->trigger();
        return path;
    }
};

const RawPoint kRoverA{"P1", 4000100.5, 500200.25, 50.0, "B1", 4000000.0, 500000.0, 48.0};
RawPoint roverB() {
    RawPoint p{"P2", 4000300.0, 500100.0, 52.0, "B2", 4000200.0, 500050.0, 45.0};
    p.antenna = "TRM57971.00";
    p.antennaHeight = 2.0;
    p.method = 2;
    p.solution = 4;
    p.baseAntenna = "UNKNOWN";
    p.baseMethod = 1;
    return p;
}
RawPoint roverC() {
    RawPoint p{"P3", 4000010.0, 500020.0, 49.0, "B1", 4000000.0, 500000.0, 48.0};
    p.baseAntenna = "TRM57971.00";  // a later QZBS of B1: the base keeps the first one's values
    return p;
}
QByteArray threeRoverJob(const QByteArray& version = "V1.0") {
    return rawHeader(version) + rawGroup(kRoverA) + rawGroup(roverB()) + rawGroup(roverC());
}

}  // namespace

TEST(RawBenchWindow, StartsWithTheSpecifiedShell) {
    Window w;
    EXPECT_EQ(w.window->windowTitle(), "RawBench");
    EXPECT_EQ(w.window->size(), QSize(932, 833));
    auto* tabs = w.window->findChild<QTabWidget*>("tabWidget");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Base");
    EXPECT_EQ(tabs->tabText(1), "Rover");
    EXPECT_EQ(tabs->tabText(2), "Coordinate");
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_TRUE(w.table("tableWidget_base")->isColumnHidden(7));
    EXPECT_TRUE(w.table("tableWidget_rover")->isColumnHidden(17));
    EXPECT_EQ(w.table("tableWidget_rover")->horizontalHeaderItem(13)->text(), "Druation");

    QStringList menus;
    for (QAction* menu : w.window->menuBar()->actions()) menus << menu->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "Ant Set", "&Process", "&About"}));
    QStringList tools;
    for (QAction* a : w.window->findChild<QToolBar*>("mainToolBar")->actions()) tools << a->objectName();
    EXPECT_EQ(tools, QStringList({"action_Open", "action_Delete_Rover", "action_Delete_Base",
                                  "action_Ant_Set", "action_Calculate", "action_Export", "actionSave_as"}));
    EXPECT_EQ(w.action("action_Open")->shortcut(), QKeySequence("Ctrl+O"));
    for (const QString& name : kJobActions) EXPECT_FALSE(w.action(name)->isEnabled()) << name.toStdString();
    for (const QString& name : QStringList{"action_Open", "action_Ant_Set", "action_About"})
        EXPECT_TRUE(w.action(name)->isEnabled()) << name.toStdString();
    for (const QString& name : kJobActions + QStringList{"action_Open", "action_Ant_Set"})
        EXPECT_FALSE(w.action(name)->icon().isNull()) << name.toStdString();

    for (const char* name : {"tableWidget_job", "tableWidget_Projection", "tableWidget_Transform",
                             "tableWidget_Horadj", "tableWidget_Veradj"})
        for (const QString& text : w.jobRow(name)) EXPECT_EQ(text, "----") << name;
}

TEST(RawBenchWindow, OpenFillsTitleMenusAndBaseTable) {
    Window w;
    const QString path = w.open("job.raw", threeRoverJob());
    ASSERT_EQ(w.prompter.openQuestions.size(), 1);
    EXPECT_EQ(w.prompter.openQuestions[0].caption, "Open RAW");
    EXPECT_EQ(w.prompter.openQuestions[0].dir, ".");
    EXPECT_EQ(w.prompter.openQuestions[0].filter, "RAW Files (*.raw)");
    EXPECT_TRUE(w.prompter.messages.isEmpty());
    EXPECT_EQ(w.window->windowTitle(), "RawBench   " + path);
    for (const QString& name : kJobActions) EXPECT_TRUE(w.action(name)->isEnabled()) << name.toStdString();

    QTableWidget* base = w.table("tableWidget_base");
    ASSERT_EQ(base->rowCount(), 2);
    const QStringList b1 = {"B1",     "4000000.0000", "500000.0000", "48.0000",
                            "<none>", "1.5000",       "<none>",      "0"};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(w.cell("tableWidget_base", 0, c), b1[c]) << "column " << c;
    EXPECT_EQ(base->item(0, 0)->flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable), Qt::NoItemFlags);
    EXPECT_TRUE(base->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(base->item(0, 5)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(base->item(0, 1)->textAlignment(), int(Qt::AlignCenter));
    // B1's first record names HX-CSX601A; B2's antenna is not in the catalogue and shows its first name.
    EXPECT_EQ(w.combo("tableWidget_base", 0, 4)->currentText(), "HX-CSX601A");
    EXPECT_EQ(w.combo("tableWidget_base", 1, 4)->currentIndex(), 0);
    EXPECT_EQ(w.combo("tableWidget_base", 1, 6)->currentText(), "Antenna Phase Center-Vertical");
    EXPECT_EQ(w.combo("tableWidget_base", 1, 6)->count(), 3);
}

TEST(RawBenchWindow, RoverTableShowsEachRoverWithItsCombos) {
    Window w;
    w.open("job.raw", threeRoverJob());
    QTableWidget* rover = w.table("tableWidget_rover");
    ASSERT_EQ(rover->rowCount(), 3);
    const QStringList p2 = {"P2",       "B2",     "4000300.0000", "500100.0000", "52.0000", "<none>",
                            "2.0000",   "<none>", "0.0081",       "0.0143",      "1.2500",  "Unfixed",
                            "08:15:02", "12",     "30",           "8",           "6",       "0"};
    for (int c = 0; c < 18; ++c) EXPECT_EQ(w.cell("tableWidget_rover", 1, c), p2[c]) << "column " << c;
    EXPECT_EQ(w.cell("tableWidget_rover", 0, 11), "Fixed");
    EXPECT_EQ(w.combo("tableWidget_rover", 1, 5)->currentText(), "TRM57971.00");
    EXPECT_EQ(w.combo("tableWidget_rover", 1, 7)->currentIndex(), 2);
    EXPECT_EQ(w.combo("tableWidget_rover", 0, 5)->currentIndex(), 0);

    for (int c : {1, 2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17})
        EXPECT_EQ(rover->item(0, c)->flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable), Qt::NoItemFlags)
            << "column " << c;
    EXPECT_TRUE(rover->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(rover->item(0, 6)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(rover->item(0, 4)->textAlignment(), int(Qt::AlignCenter));
    EXPECT_NE(rover->item(0, 8)->textAlignment(), int(Qt::AlignCenter));

    EXPECT_EQ(rover->horizontalHeaderItem(15)->text(), "NGPS");
    EXPECT_EQ(rover->horizontalHeaderItem(16)->text(), "NGOLNASS");
    EXPECT_FALSE(rover->isColumnHidden(16));
}

TEST(RawBenchWindow, OtherVersionsShowOneGnssColumn) {
    for (const QByteArray& version : {QByteArray("V2.0"), QByteArray(""), QByteArray("v1.0")}) {
        Window w;
        w.open("job.raw", threeRoverJob(version));
        QTableWidget* rover = w.table("tableWidget_rover");
        EXPECT_EQ(rover->horizontalHeaderItem(15)->text(), "NGNSS") << version.constData();
        EXPECT_EQ(w.cell("tableWidget_rover", 0, 15), "14");
        EXPECT_EQ(w.cell("tableWidget_rover", 0, 16), "");
        EXPECT_TRUE(rover->isColumnHidden(16));
        EXPECT_TRUE(rover->isColumnHidden(17));
    }
}

TEST(RawBenchWindow, CoordinateTablesShowTheJobHeader) {
    Window w;
    w.open("job.raw", threeRoverJob());
    EXPECT_EQ(w.jobRow("tableWidget_job"),
              QStringList({"Dam", "2026-11-02", "08:14:03", "WGS 84 / UTM 50N", "----", "----"}));
    EXPECT_EQ(w.jobRow("tableWidget_Projection"),
              QStringList({"TM", "4e+06", "500000", "00:00:00.000", "117:00:00.000", "0.9996", "----"}));
    // OX 3600 arc-seconds is one degree.
    EXPECT_EQ(w.jobRow("tableWidget_Transform"),
              QStringList({"Yes", "7", "12.5", "-3.25", "7.75", "0.0174533", "0", "0", "1.2"}));
    EXPECT_EQ(w.jobRow("tableWidget_Horadj"),
              QStringList({"Yes", "4.2e+06", "500000", "1.25", "-0.75", "0", "1.5"}));
    EXPECT_EQ(w.jobRow("tableWidget_Veradj"),
              QStringList({"Yes", "----", "500000", "0.5", "-0.3", "0.12", "----"}));
}

TEST(RawBenchWindow, ASecondJobLeavesNothingOfTheFirstInTheCoordinateTables) {
    Window w;
    w.open("first.raw", threeRoverJob());
    w.open("second.raw",
           "QZVS,VS  V2.0\nPJ,TP31,LA-0.5,N 0,E 0,SC1\nDT,DA0,LX99\nQZAH,AHUS0,TRSX5\n" + rawGroup(kRoverA));
    EXPECT_EQ(w.jobRow("tableWidget_job"), QStringList({"----", "----", "----", "----", "----", "----"}));
    EXPECT_EQ(w.jobRow("tableWidget_Projection"),
              QStringList({"Not TM", "0", "0", "-28:38:52.403", "00:00:00.000", "1", "----"}));
    EXPECT_EQ(w.jobRow("tableWidget_Transform"),
              QStringList({"No", "----", "----", "----", "----", "----", "----", "----", "----"}));
    EXPECT_EQ(w.jobRow("tableWidget_Horadj"),
              QStringList({"No", "----", "----", "----", "----", "----", "----"}));
    EXPECT_EQ(w.jobRow("tableWidget_Veradj"),
              QStringList({"No", "----", "----", "----", "----", "----", "----"}));
    EXPECT_EQ(w.table("tableWidget_rover")->rowCount(), 1);
    EXPECT_EQ(w.table("tableWidget_base")->rowCount(), 1);
}

TEST(RawBenchWindow, ACancelledOrFailedOpenKeepsTheJobAndItsPath) {
    Window w;
    const QString path = w.open("job.raw", threeRoverJob());
    const QString title = w.window->windowTitle();

    w.action("action_Open")->trigger();  // the prompter answers "cancel"
    EXPECT_TRUE(w.prompter.messages.isEmpty());
    EXPECT_EQ(w.window->job().path, path);

    QDir(w.scratch.path(QString())).mkdir("folder.raw");
    const QStringList unreadable = {w.scratch.path("missing.raw"), w.scratch.path("folder.raw")};
    for (const QString& bad : unreadable) {
        w.prompter.openAnswers.push_back(bad);
        w.action("action_Open")->trigger();
    }
    ASSERT_EQ(w.prompter.messages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.prompter.messages[i].icon, QMessageBox::Warning);
        EXPECT_TRUE(w.prompter.messages[i].text.contains(unreadable[i]))
            << w.prompter.messages[i].text.toStdString();
    }

    EXPECT_EQ(w.window->job().path, path);
    EXPECT_EQ(w.window->windowTitle(), title);
    EXPECT_EQ(w.table("tableWidget_rover")->rowCount(), 3);
    EXPECT_EQ(w.window->job().rovers.size(), 3);

    w.action("actionSave_as")->trigger();  // cancelled as well, silently
    ASSERT_EQ(w.prompter.saveQuestions.size(), 1);
    EXPECT_EQ(w.prompter.saveQuestions[0].dir, w.scratch.path("job_new.Raw"));
    EXPECT_EQ(w.prompter.saveQuestions[0].caption, "Save as");
    EXPECT_EQ(w.prompter.saveQuestions[0].filter, "raw file(*.Raw)");
    EXPECT_EQ(w.prompter.messages.size(), 2);
}

TEST(RawBenchWindow, SaveAsWritesWhatTheWriterWrites) {
    Window w;
    w.open("job.raw", threeRoverJob());
    const QString target = w.scratch.path("saved.Raw");
    w.prompter.saveAnswers.push_back(target);
    w.action("actionSave_as")->trigger();
    EXPECT_TRUE(w.prompter.messages.isEmpty());
    const QString reference = w.scratch.path("reference.Raw");
    ASSERT_TRUE(writeRawJob(reference, w.window->job()));
    const QByteArray saved = readFile(target);
    EXPECT_EQ(saved, readFile(reference));
    EXPECT_TRUE(saved.startsWith("QZVS,VS  V1.0\n")) << saved.left(40).constData();
    EXPECT_EQ(w.window->windowTitle(), "RawBench   " + w.scratch.path("job.raw"));  // unchanged by Save as
}

TEST(RawBenchWindow, AFailedSaveAsNamesTheFile) {
    Window w;
    w.open("job.raw", threeRoverJob());
    const QString target = w.scratch.path("no/such/dir/out.Raw");
    w.prompter.saveAnswers.push_back(target);
    w.action("actionSave_as")->trigger();
    ASSERT_EQ(w.prompter.messages.size(), 1);
    EXPECT_EQ(w.prompter.messages[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(w.prompter.messages[0].text.contains(target)) << w.prompter.messages[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST(RawBenchWindow, CommandLineFileOpensAsFromTheDialog) {
    Window w;
    writeFile(w.scratch.path("cli.raw"), threeRoverJob());
    EXPECT_FALSE(openFileFromArguments(*w.window, {"RawBench"}));
    EXPECT_EQ(w.window->windowTitle(), "RawBench");
    EXPECT_TRUE(
        openFileFromArguments(*w.window, {"RawBench", "cli.raw"}));  // relative to the working directory
    EXPECT_EQ(w.window->windowTitle(),
              "RawBench   " + QFileInfo(w.scratch.path("cli.raw")).absoluteFilePath());
    EXPECT_EQ(w.table("tableWidget_rover")->rowCount(), 3);
    EXPECT_TRUE(w.action("action_Export")->isEnabled());

    EXPECT_FALSE(openFileFromArguments(*w.window, {"RawBench", "absent.raw"}));
    EXPECT_EQ(w.prompter.messages.size(), 1);
}

TEST(RawBenchWindow, AcceptingTheAntennaDialogRefreshesTheCombos) {
    Window w;
    w.open("job.raw", threeRoverJob());
    Ant_Manager* catalogue = w.window->antennaManager();
    catalogue->antennaNames << "NEW";
    catalogue->antennaEntries << QStringList{"NEW", "1", "2", "3"};
    EXPECT_EQ(w.combo("tableWidget_rover", 0, 5)->count(), 2);
    catalogue->accept();
    EXPECT_EQ(w.combo("tableWidget_rover", 0, 5)->count(), 3);
    EXPECT_EQ(w.combo("tableWidget_base", 0, 4)->count(), 3);
    EXPECT_EQ(w.combo("tableWidget_rover", 1, 5)->currentText(), "TRM57971.00");
    EXPECT_EQ(w.combo("tableWidget_base", 0, 4)->currentText(), "HX-CSX601A");
}

TEST(RawBenchWindow, OpensTheBundledExample) {
    const QString example = QStringLiteral(RAWBENCH_EXAMPLES_DIR "/sample.raw");
    ASSERT_TRUE(QFileInfo::exists(example)) << example.toStdString();
    Window w(readFile(QStringLiteral(RAWBENCH_EXAMPLES_DIR "/Antenna.ini")));
    w.prompter.openAnswers.push_back(example);
    w.action("action_Open")->trigger();
    EXPECT_TRUE(w.prompter.messages.isEmpty());
    EXPECT_EQ(w.window->windowTitle(), "RawBench   " + example);
    const RawJob& job = w.window->job();
    ASSERT_FALSE(job.rovers.isEmpty());
    EXPECT_EQ(w.table("tableWidget_rover")->rowCount(), job.rovers.size());
    EXPECT_EQ(w.table("tableWidget_base")->rowCount(), job.bases.size());
    for (int row = 0; row < job.rovers.size(); ++row) {
        EXPECT_EQ(w.cell("tableWidget_rover", row, 0), job.rovers[row].name);
        EXPECT_EQ(w.combo("tableWidget_rover", row, 7)->currentIndex(), job.rovers[row].antennaMethod);
        const int inCatalogue = w.window->antennaManager()->antennaNames.indexOf(job.rovers[row].antennaType);
        EXPECT_EQ(w.combo("tableWidget_rover", row, 5)->currentIndex(), std::max(0, inCatalogue));
    }
}
