// The antenna catalogue file and the Ant_Manager dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
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
class AntennaDialog : public ::testing::Test {
  protected:
    AntennaDialog() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path()); }
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
    // Fills the four "Ant Add" fields and confirms with Enter in the last one, or with the button.
    void add(const QStringList& texts, bool enter = true) {
        const char* fields[] = {"lineEdit_name_add", "lineEdit_bottom_add", "lineEdit_top_add",
                                "lineEdit_middle_add"};
        for (int i = 0; i < 4; ++i) child(fields[i])->setText(texts.value(i));
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

TEST_F(AntennaDialog, AMissingOrUnreadableCatalogueIsReportedUntilOneIsWritten) {
    for (bool directory : {false, true}) {
        if (directory) QDir().mkdir("Antenna.ini");
        RawBench window;
        window.setPrompter(&prompter);
        d = window.antennaManager();
        const QString problem = d->catalogueProblem();
        EXPECT_TRUE(problem.contains(QDir::current().absoluteFilePath("Antenna.ini")));
        EXPECT_EQ(window.findChild<QLabel*>("label_status_catalogue")->text(), problem);
        EXPECT_TRUE(child<QLabel>("label_catalogue_problem")->isVisibleTo(d));
        EXPECT_EQ(child<QLabel>("label_catalogue_problem")->text(), problem);
        if (directory) break;
        click("pushButton_new");
        add({"A1", "0.060", "0.120", "0.090"});
        EXPECT_EQ(readFile("Antenna.ini"), QByteArray("\n[ANTENNA]\nA1\n0.060\n0.120\n0.090"));
        EXPECT_EQ(d->catalogueProblem(), QString());
        EXPECT_EQ(window.findChild<QLabel*>("label_status_catalogue")->text(), QString());
        EXPECT_FALSE(child<QLabel>("label_catalogue_problem")->isVisibleTo(d));
        QFile::remove("Antenna.ini");
    }
}

TEST_F(AntennaDialog, EnterAddsTrimmedNamesAndRefusesCommasAndDuplicates) {
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
        add({c.name, "0.060", "0.120", "0.090"}, /*enter=*/c.name[0] != 'C');  // C3 with the &Add button
        const QString shown = warning();
        EXPECT_TRUE(*c.warning ? shown.contains(c.warning) : shown.isEmpty()) << c.name;
        EXPECT_EQ(child("lineEdit_name_add")->text().isEmpty(), c.added) << c.name;
    }
    EXPECT_EQ(d->antennaNames, QStringList({"A1", "a1", "C3"}));
    EXPECT_TRUE(child<QPushButton>("pushButton_new")->isChecked());  // Enter pressed no other button
    EXPECT_TRUE(prompter.openQuestions.isEmpty());
    EXPECT_EQ(child<QComboBox>("comboBox_ant_type_search")->currentText(), "C3");
    EXPECT_EQ(readCatalogue(readFile("Antenna.ini")), d->antennaEntries);
}

TEST_F(AntennaDialog, ShowsEntriesAndRewritesTheFileAfterAnEditOrADelete) {
    writeFile("Antenna.ini", twoAntennaCatalogue());
    open();
    QSignalSpy changed(d, &Ant_Manager::catalogueChanged);
    EXPECT_EQ(d->antennaEntries, kTwo);
    EXPECT_FALSE(child<QLabel>("label_catalogue_problem")->isVisibleTo(d));
    EXPECT_EQ(child("lineEdit_bottom_search")->text(), "0.060");
    child<QComboBox>("comboBox_ant_type_search")->setCurrentIndex(1);
    EXPECT_EQ(child("lineEdit_middle_search")->text(), "0.095");
    QTest::keyClicks(child("lineEdit_top_add"), "-1.2345");
    EXPECT_EQ(child("lineEdit_top_add")->text(), "1.234");  // no sign, no fourth decimal
    click("pushButton_edit");
    EXPECT_EQ(child("lineEdit_top_add")->text(), "0.128");
    add({"TRM57971.00", "0.065", "0.200", "0.095"});
    QByteArray file = twoAntennaCatalogue().replace("0.128", "0.200");  // rewritten as the appends write it
    EXPECT_EQ(readFile("Antenna.ini"), file);
    EXPECT_EQ(readCatalogue(file), d->antennaEntries);
    EXPECT_EQ(child("lineEdit_top_search")->text(), "0.200");

    child<QComboBox>("comboBox_ant_type_search")->setCurrentIndex(0);
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        prompter.messageAnswer = answer;
        click("pushButton_delete");
    }
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages[0].text.contains("HX-CSX601A"));
    EXPECT_EQ(d->antennaNames, QStringList({"TRM57971.00"}));
    EXPECT_EQ(readFile("Antenna.ini"), file.mid(file.indexOf("\n[ANTENNA]\nTRM")));
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(AntennaDialog, AnotherCatalogueIsRememberedAndAFailedWriteChangesNothing) {
    writeFile("other.ini", twoAntennaCatalogue());
    open();
    prompter.openAnswers = {"missing.ini", "other.ini"};
    click("pushButton_open");  // cannot be read: reported, and nothing changes
    click("pushButton_open");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(warning().contains(QDir::current().absoluteFilePath("missing.ini")));
    EXPECT_EQ(d->antennaEntries, kTwo);
    EXPECT_EQ(d->catalogueProblem(), QString());
    EXPECT_EQ(open().antennaEntries, kTwo);  // the next start reads it again

    QFile::remove("other.ini");
    QDir().mkdir("other.ini");  // from now on the file can be neither written nor read
    prompter.messageAnswer = QMessageBox::Yes;
    click("pushButton_new");
    add({"A1", "1", "2", "3"});
    click("pushButton_edit");
    add({"B2", "1", "2", "3"});
    click("pushButton_delete");
    ASSERT_EQ(prompter.messages.size(), 4);  // add, edit, the question and delete
    for (int i : {0, 1, 3})
        EXPECT_TRUE(prompter.messages[i].text.contains(QDir::current().absoluteFilePath("other.ini")));
    EXPECT_EQ(d->antennaEntries, kTwo);
    EXPECT_EQ(child("lineEdit_name_add")->text(), "B2");  // the edit is still there to try again
    EXPECT_TRUE(open().catalogueProblem().contains(QDir::current().absoluteFilePath("other.ini")));
    writeFile("Antenna.ini", "[ANTENNA]\nA\n1\n2\n3");
    EXPECT_EQ(open().antennaNames, QStringList({"A"}));  // a local catalogue comes first
}
