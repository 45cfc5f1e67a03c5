// The antenna catalogue file and the Ant_Manager dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextStream>
#include <memory>

#include "Ant_Manager.h"
#include "AntennaCatalogue.h"
#include "GuiTestSupport.h"
#include "RawBench.h"

namespace {

using Entries = QList<QStringList>;
const Entries kTwo = {{"HX-CSX601A", "0.060", "0.120", "0.090"}, {"TRM57971.00", "0.065", "0.128", "0.095"}};

Entries readCatalogue(QByteArray content) {
    QTextStream in(&content);
    QStringList names;
    Entries entries;
    readAntennaCatalogue(in, names, entries);
    for (int i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], entries.value(i).value(0));
    return entries;
}

// A scratch working directory and settings of the test's own; d is the dialog under test.
class AntManager : public ::testing::Test {
  protected:
    AntManager() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path()); }
    Ant_Manager& open() {  // the dialog as the program builds it at start
        owned_ = std::make_unique<Ant_Manager>();
        d = owned_.get();
        d->setPrompter(&prompter);
        return *d;
    }
    template <typename T = QLineEdit>
    T* child(const char* name) {
        return d->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    // Types into the four "Ant Add" fields and confirms with Enter in the last one, or with the button.
    void add(const QString& name, const QString& bottom, const QString& top, const QString& middle,
             bool enter = true) {
        const QString texts[] = {name, bottom, top, middle};
        const char* fields[] = {"lineEdit_name_add", "lineEdit_bottom_add", "lineEdit_top_add",
                                "lineEdit_middle_add"};
        for (int i = 0; i < 4; ++i) {
            child(fields[i])->clear();
            QTest::keyClicks(child(fields[i]), texts[i]);
        }
        enter ? QTest::keyClick(child(fields[3]), Qt::Key_Return) : click("pushButton_add");
    }
    QString warning() { return prompter.messages.isEmpty() ? QString() : prompter.messages.takeLast().text; }

    QTemporaryDir settings_;
    ScratchDir scratch;
    ScriptedPrompter prompter;
    std::unique_ptr<Ant_Manager> owned_;
    Ant_Manager* d = nullptr;
};

}  // namespace

TEST(AntennaCatalogue, ReadsEntriesOfFiveLinesWhateverSurroundsThem) {
    const QStringList a = {"A", "1", "2", "3"};
    const struct {
        const char* what;
        QByteArray file;
        Entries expected;
    } cases[] = {
        {"written by RawBench", twoAntennaCatalogue(), kTwo},
        {"comments and blanks first", "; antennas\n\n[ANTENNA]\nA\n1\n2\n3\n", {a}},
        {"cut short", "[ANTENNA]\nA\n1\n2\n3\n[ANTENNA]\nB", {a, {"B", "", "", ""}}},
        {"section with a blank", "[ANTENNA] \nB\n1\n2\n3\n[ANTENNA]\nA\n1\n2\n3", {a}},
        {"not trimmed", "[ANTENNA]\nA \n1\n2\n3", {{"A ", "1", "2", "3"}}},
        {"taken whatever they hold", "[ANTENNA]\n[ANTENNA]\n1\n2\n3", {{"[ANTENNA]", "1", "2", "3"}}},
        {"duplicates kept", "[ANTENNA]\nA\n1\n2\n3\n[ANTENNA]\nA\n1\n2\n3", {a, a}},
        {"CR LF", "\r\n[ANTENNA]\r\nA\r\n1\r\n2\r\n3", {a}},
    };
    for (const auto& c : cases) EXPECT_EQ(readCatalogue(c.file), c.expected) << c.what;
}

TEST(AntennaCatalogue, RewriteGivesWhatTheAppendsBuildAndFailsWithoutHarm) {
    ScratchDir scratch;
    QString error;
    QStringList names;
    Entries entries;
    for (const QStringList& entry : kTwo) ASSERT_TRUE(appendAntennaEntry("appended.ini", entry, &error));
    EXPECT_EQ(readFile("appended.ini"), twoAntennaCatalogue());
    ASSERT_TRUE(writeAntennaCatalogue("Antenna.ini", kTwo, &error)) << error.toStdString();
    EXPECT_EQ(readFile("Antenna.ini"), twoAntennaCatalogue());
    ASSERT_TRUE(readAntennaCatalogueFile("Antenna.ini", names, entries, &error));
    EXPECT_EQ(entries, kTwo);

    QDir().mkdir("dir.ini");  // a directory where the file should be: nothing can be read or written
    EXPECT_FALSE(appendAntennaEntry("dir.ini", kTwo[0], &error));
    EXPECT_FALSE(writeAntennaCatalogue("dir.ini", kTwo, &error));
    EXPECT_FALSE(readAntennaCatalogueFile("dir.ini", names, entries, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(entries.isEmpty());
}

TEST(AntennaCatalogue, OffsetByMethodIsZeroOutsideTheCatalogue) {
    const Entries entries = {{"A", "0.060", "0.120", "0.090"}, {"B", "x", "", "1e-3"}};
    const double offsets[][3] = {{0.060, 0.120, 0.090}, {0.0, 0.0, 0.001}};
    for (int index = -1; index <= 2; ++index)
        for (int method = -1; method <= 3; ++method)
            EXPECT_EQ(antennaOffset(entries, index, method),
                      index >= 0 && index < 2 && method >= 0 && method < 3 ? offsets[index][method] : 0.0);
}

TEST_F(AntManager, ShowsTheChosenEntryAndTheAddGroupWithNew) {
    writeFile("Antenna.ini", twoAntennaCatalogue());
    open();
    EXPECT_EQ(d->antennaEntries, kTwo);
    EXPECT_EQ(d->catalogueProblem(), QString());
    EXPECT_FALSE(child<QLabel>("label_catalogue_problem")->isVisibleTo(d));
    EXPECT_EQ(child("lineEdit_bottom_search")->text(), "0.060");
    child<QComboBox>("comboBox_ant_type_search")->setCurrentIndex(1);
    EXPECT_EQ(child("lineEdit_middle_search")->text(), "0.095");
    EXPECT_FALSE(child<QGroupBox>("groupBox_2")->isVisibleTo(d));
    click("pushButton_new");
    EXPECT_TRUE(child<QGroupBox>("groupBox_2")->isVisibleTo(d));
    EXPECT_TRUE(child<QPushButton>("pushButton_add")->isVisibleTo(d));
    QTest::keyClicks(child("lineEdit_top_add"), "-1.2345");
    EXPECT_EQ(child("lineEdit_top_add")->text(), "1.234");  // no sign, no fourth decimal
}

TEST_F(AntManager, AMissingOrUnreadableCatalogueIsReportedUntilOneIsWritten) {
    for (bool directory : {false, true}) {
        if (directory) QDir().mkdir("Antenna.ini");
        RawBench window;
        window.setPrompter(&prompter);
        d = window.antennaManager();
        const QString problem = d->catalogueProblem();
        EXPECT_TRUE(problem.contains(QDir::current().absoluteFilePath("Antenna.ini")))
            << problem.toStdString();
        EXPECT_EQ(window.statusBar()->currentMessage(), problem);
        EXPECT_TRUE(child<QLabel>("label_catalogue_problem")->isVisibleTo(d));
        EXPECT_EQ(child<QLabel>("label_catalogue_problem")->text(), problem);
        if (directory) break;
        click("pushButton_new");
        add("A1", "0.060", "0.120", "0.090");
        EXPECT_EQ(readFile("Antenna.ini"), QByteArray("\n[ANTENNA]\nA1\n0.060\n0.120\n0.090"));
        EXPECT_EQ(d->catalogueProblem(), QString());
        EXPECT_EQ(window.statusBar()->currentMessage(), QString());
        EXPECT_FALSE(child<QLabel>("label_catalogue_problem")->isVisibleTo(d));
        QFile::remove("Antenna.ini");
    }
}

TEST_F(AntManager, EnterAddsTrimmedNamesAndRefusesCommasAndDuplicates) {
    open().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    click("pushButton_new");
    const struct {
        const char* name;
        const char* warning;  // part of the warning, "" for none
        bool added;
    } cases[] = {{"  A1 ", "", true},     {"a1", "", true},  {"A1", "A1 already exits", false},
                 {"B,2", "comma", false}, {"  ", "", false}, {"C3", "", true}};
    for (const auto& c : cases) {
        add(c.name, "0.060", "0.120", "0.090", /*enter=*/c.name[0] != 'C');  // C3 with the &Add button
        const QString shown = warning();
        EXPECT_TRUE(*c.warning ? shown.contains(c.warning) : shown.isEmpty()) << c.name;
        EXPECT_EQ(child("lineEdit_name_add")->text().isEmpty(), c.added) << c.name;
    }
    EXPECT_EQ(d->antennaNames, QStringList({"A1", "a1", "C3"}));
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(child<QPushButton>("pushButton_new")->isChecked());  // Enter did not toggle &New
    EXPECT_EQ(child<QComboBox>("comboBox_ant_type_search")->currentText(), "C3");
    EXPECT_EQ(readCatalogue(readFile("Antenna.ini")), d->antennaEntries);
}

TEST_F(AntManager, EditAndDeleteRewriteTheFile) {
    writeFile("Antenna.ini", twoAntennaCatalogue());
    open();
    QSignalSpy changed(d, &Ant_Manager::catalogueChanged);
    child<QComboBox>("comboBox_ant_type_search")->setCurrentIndex(1);
    click("pushButton_edit");
    EXPECT_EQ(child("lineEdit_name_add")->text(), "TRM57971.00");
    EXPECT_EQ(child<QGroupBox>("groupBox_2")->title(), "Ant Edit");
    add("TRM57971.00", "0.065", "0.200", "0.095");
    Entries edited = kTwo;
    edited[1][2] = "0.200";
    EXPECT_EQ(d->antennaEntries, edited);
    EXPECT_EQ(readCatalogue(readFile("Antenna.ini")), edited);
    EXPECT_EQ(child("lineEdit_top_search")->text(), "0.200");
    EXPECT_EQ(child<QGroupBox>("groupBox_2")->title(), "Ant Add");

    child<QComboBox>("comboBox_ant_type_search")->setCurrentIndex(0);
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        prompter.messageAnswer = answer;
        click("pushButton_delete");
    }
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[0].icon, QMessageBox::Question);
    EXPECT_TRUE(prompter.messages[0].text.contains("HX-CSX601A"));
    EXPECT_EQ(d->antennaNames, QStringList({"TRM57971.00"}));
    EXPECT_EQ(readCatalogue(readFile("Antenna.ini")), edited.mid(1));
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(AntManager, FailedWritesAreReportedAndChangeNothing) {
    writeFile("other.ini", twoAntennaCatalogue());
    ASSERT_TRUE(open().openCatalogue("other.ini"));
    QFile::remove("other.ini");
    QDir().mkdir("other.ini");  // the file cannot be written any more
    prompter.messageAnswer = QMessageBox::Yes;
    click("pushButton_new");
    add("A1", "1", "2", "3");
    click("pushButton_edit");
    add("B2", "1", "2", "3");
    click("pushButton_delete");
    ASSERT_EQ(prompter.messages.size(), 4);  // add, edit, the question and delete
    for (int i : {0, 1, 3})
        EXPECT_TRUE(prompter.messages[i].text.contains(QDir::current().absoluteFilePath("other.ini")));
    EXPECT_EQ(d->antennaEntries, kTwo);
    EXPECT_EQ(child("lineEdit_name_add")->text(), "B2");  // the edit is still there to try again
}

TEST_F(AntManager, AnotherCatalogueIsRememberedButALocalOneComesFirst) {
    writeFile("other.ini", twoAntennaCatalogue());
    open();
    prompter.openAnswers = {"missing.ini", QDir::current().absoluteFilePath("other.ini")};
    click("pushButton_open");
    EXPECT_TRUE(warning().contains("missing.ini"));
    EXPECT_FALSE(d->catalogueProblem().isEmpty());  // still nothing read
    QSignalSpy changed(d, &Ant_Manager::catalogueChanged);
    click("pushButton_open");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(d->antennaEntries, kTwo);
    EXPECT_EQ(d->catalogueProblem(), QString());
    EXPECT_EQ(open().antennaEntries, kTwo);  // the next start
    EXPECT_EQ(d->cataloguePath(), QDir::current().absoluteFilePath("other.ini"));
    writeFile("Antenna.ini", "[ANTENNA]\nA\n1\n2\n3");
    EXPECT_EQ(open().antennaNames, QStringList({"A"}));
}
