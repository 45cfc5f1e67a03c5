// The antenna catalogue file and the Ant_Manager dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextStream>

#include "Ant_Manager.h"
#include "AntennaCatalogue.h"
#include "GuiTestSupport.h"

namespace {

QList<QStringList> readCatalogue(const QByteArray& content) {
    QByteArray bytes = content;
    QTextStream in(&bytes);
    QStringList names;
    QList<QStringList> entries;
    readAntennaCatalogue(in, names, entries);
    EXPECT_EQ(names.size(), entries.size());
    for (int i = 0; i < names.size() && i < entries.size(); ++i) EXPECT_EQ(names[i], entries[i].value(0));
    return entries;
}

struct Dialog {
    Ant_Manager dialog;
    ScriptedPrompter prompter;
    Dialog() { dialog.setPrompter(&prompter); }
    template <typename T>
    T* child(const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void type(const char* field, const QString& text) { QTest::keyClicks(child<QLineEdit>(field), text); }
    void add(const QString& name, const QString& bottom, const QString& top, const QString& middle) {
        type("lineEdit_name_add", name);
        type("lineEdit_bottom_add", bottom);
        type("lineEdit_top_add", top);
        type("lineEdit_middle_add", middle);
        QTest::mouseClick(child<QPushButton>("pushButton_add"), Qt::LeftButton);
    }
};

}  // namespace

TEST(AntennaCatalogue, ReadsEntriesOfFiveLinesWhateverSurroundsThem) {
    struct Case {
        const char* what;
        QByteArray file;
        QList<QStringList> expected;
    };
    const QList<Case> cases = {
        {"written by RawBench",
         twoAntennaCatalogue(),
         {{"HX-CSX601A", "0.060", "0.120", "0.090"}, {"TRM57971.00", "0.065", "0.128", "0.095"}}},
        {"comments and blanks before the first section",
         "; antennas\n\n[ANTENNA]\nA\n1\n2\n3\n",
         {{"A", "1", "2", "3"}}},
        {"entry cut short after its name",
         "[ANTENNA]\nA\n1\n2\n3\n[ANTENNA]\nB",
         {{"A", "1", "2", "3"}, {"B", "", "", ""}}},
        {"section line with a blank is not one",
         "[ANTENNA] \nA\n1\n2\n3\n[ANTENNA]\nB\n4\n5\n6",
         {{"B", "4", "5", "6"}}},
        {"lines are not trimmed", "[ANTENNA]\nA \n1\n2\n3", {{"A ", "1", "2", "3"}}},
        {"the four lines are taken whatever they hold",
         "[ANTENNA]\n[ANTENNA]\n1\n2\n3",
         {{"[ANTENNA]", "1", "2", "3"}}},
        {"duplicates are kept",
         "[ANTENNA]\nA\n1\n2\n3\n[ANTENNA]\nA\n4\n5\n6",
         {{"A", "1", "2", "3"}, {"A", "4", "5", "6"}}},
        {"CR LF line ends", "\r\n[ANTENNA]\r\nA\r\n1\r\n2\r\n3", {{"A", "1", "2", "3"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(readCatalogue(c.file), c.expected) << c.what;
}

TEST(AntennaCatalogue, AppendWritesTheExactLayoutAndReadsBack) {
    ScratchDir scratch;
    const QString path = scratch.path("Antenna.ini");
    QString error;
    ASSERT_TRUE(appendAntennaEntry(path, {"A1", "0.060", "0.120", "0.090"}, &error)) << error.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("\n[ANTENNA]\nA1\n0.060\n0.120\n0.090"));
    ASSERT_TRUE(appendAntennaEntry(path, {"B2", "1", "2", "3"}, &error));
    EXPECT_EQ(readFile(path), QByteArray("\n[ANTENNA]\nA1\n0.060\n0.120\n0.090\n[ANTENNA]\nB2\n1\n2\n3"));
    EXPECT_EQ(readCatalogue(readFile(path)),
              (QList<QStringList>{{"A1", "0.060", "0.120", "0.090"}, {"B2", "1", "2", "3"}}));
}

TEST(AntennaCatalogue, AppendReportsAFileThatCannotBeOpened) {
    ScratchDir scratch;
    QDir().mkdir(scratch.path("Antenna.ini"));  // a directory where the file should be
    QString error;
    EXPECT_FALSE(appendAntennaEntry(scratch.path("Antenna.ini"), {"A1", "1", "2", "3"}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AntennaCatalogue, OffsetByMethodIsZeroOutsideTheCatalogue) {
    const QList<QStringList> entries = {{"A", "0.060", "0.120", "0.090"}, {"B", "x", "", "1e-3"}};
    struct Case {
        int index, method;
        double offset;
    };
    for (const Case& c :
         {Case{0, 0, 0.060}, Case{0, 1, 0.120}, Case{0, 2, 0.090}, Case{1, 0, 0.0}, Case{1, 1, 0.0},
          Case{1, 2, 0.001}, Case{-1, 0, 0.0}, Case{2, 0, 0.0}, Case{0, 3, 0.0}, Case{0, -1, 0.0}})
        EXPECT_EQ(antennaOffset(entries, c.index, c.method), c.offset) << c.index << "," << c.method;
    EXPECT_EQ(antennaOffset({}, 0, 0), 0.0);
}

TEST(AntManager, LoadsTheCatalogueAndShowsTheChosenEntry) {
    ScratchDir scratch;
    writeFile("Antenna.ini", twoAntennaCatalogue());
    Dialog d;
    EXPECT_EQ(d.dialog.antennaNames, QStringList({"HX-CSX601A", "TRM57971.00"}));
    EXPECT_EQ(d.dialog.windowTitle(), "Ant Manager");
    auto* combo = d.child<QComboBox>("comboBox_ant_type_search");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_bottom_search")->text(), "0.060");
    EXPECT_TRUE(d.child<QLineEdit>("lineEdit_bottom_search")->isReadOnly());
    combo->setCurrentIndex(1);
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_bottom_search")->text(), "0.065");
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_top_search")->text(), "0.128");
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_middle_search")->text(), "0.095");
}

TEST(AntManager, MissingFileGivesAnEmptyCatalogue) {
    ScratchDir scratch;
    Dialog d;
    EXPECT_TRUE(d.dialog.antennaNames.isEmpty());
    EXPECT_TRUE(d.dialog.antennaEntries.isEmpty());
    EXPECT_EQ(d.child<QComboBox>("comboBox_ant_type_search")->count(), 0);
}

TEST(AntManager, NewShowsAndHidesTheAddGroup) {
    ScratchDir scratch;
    Dialog d;
    auto* group = d.child<QGroupBox>("groupBox_2");
    auto* add = d.child<QPushButton>("pushButton_add");
    auto* cancel = d.child<QPushButton>("pushButton_cancel");
    EXPECT_FALSE(group->isVisibleTo(&d.dialog));
    EXPECT_FALSE(add->isVisibleTo(&d.dialog));
    QTest::mouseClick(d.child<QPushButton>("pushButton_new"), Qt::LeftButton);
    EXPECT_TRUE(group->isVisibleTo(&d.dialog));
    EXPECT_TRUE(add->isVisibleTo(&d.dialog));
    EXPECT_TRUE(cancel->isVisibleTo(&d.dialog));
    QTest::mouseClick(d.child<QPushButton>("pushButton_new"), Qt::LeftButton);
    EXPECT_FALSE(group->isVisibleTo(&d.dialog));
    EXPECT_FALSE(cancel->isVisibleTo(&d.dialog));
}

TEST(AntManager, OffsetFieldsTakeNoFourthDecimalAndNoSign) {
    ScratchDir scratch;
    Dialog d;
    struct Case {
        const char* typed;
        const char* kept;
    };
    for (const char* field : {"lineEdit_bottom_add", "lineEdit_top_add", "lineEdit_middle_add"}) {
        for (const Case& c : {Case{"1.2345", "1.234"}, Case{"-0.5", "0.5"}, Case{"0.060", "0.060"}}) {
            d.child<QLineEdit>(field)->clear();
            d.type(field, QString::fromLatin1(c.typed));
            EXPECT_EQ(d.child<QLineEdit>(field)->text(), c.kept) << field << " typed " << c.typed;
        }
    }
    d.type("lineEdit_name_add", "-Any name, 1.23456");
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_name_add")->text(), "-Any name, 1.23456");
}

TEST(AntManager, AddAppendsToListsComboAndFile) {
    ScratchDir scratch;
    Dialog d;
    QTest::mouseClick(d.child<QPushButton>("pushButton_new"), Qt::LeftButton);
    d.add("A1", "0.060", "0.120", "0.090");
    EXPECT_EQ(d.dialog.antennaEntries, (QList<QStringList>{{"A1", "0.060", "0.120", "0.090"}}));
    EXPECT_EQ(readFile("Antenna.ini"), QByteArray("\n[ANTENNA]\nA1\n0.060\n0.120\n0.090"));
    auto* combo = d.child<QComboBox>("comboBox_ant_type_search");
    EXPECT_EQ(combo->currentText(), "A1");
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_middle_search")->text(), "0.090");
    for (const char* field :
         {"lineEdit_name_add", "lineEdit_bottom_add", "lineEdit_top_add", "lineEdit_middle_add"})
        EXPECT_TRUE(d.child<QLineEdit>(field)->text().isEmpty()) << field;

    d.add("a1", "1", "2", "3");  // differs in case only: a name of its own
    EXPECT_EQ(d.dialog.antennaNames, QStringList({"A1", "a1"}));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(readFile("Antenna.ini"),
              QByteArray("\n[ANTENNA]\nA1\n0.060\n0.120\n0.090\n[ANTENNA]\na1\n1\n2\n3"));
    EXPECT_TRUE(d.prompter.messages.isEmpty());
}

TEST(AntManager, AddRefusesADuplicateAndIgnoresEmptyFields) {
    ScratchDir scratch;
    writeFile("Antenna.ini", twoAntennaCatalogue());
    Dialog d;
    QTest::mouseClick(d.child<QPushButton>("pushButton_new"), Qt::LeftButton);
    d.add("TRM57971.00", "1", "2", "3");
    ASSERT_EQ(d.prompter.messages.size(), 1);
    EXPECT_EQ(d.prompter.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(d.prompter.messages[0].title, "Warning");
    EXPECT_EQ(d.prompter.messages[0].text, "TRM57971.00 already exits");
    EXPECT_EQ(d.child<QLineEdit>("lineEdit_name_add")->text(), "TRM57971.00");  // the fields keep their text
    EXPECT_EQ(d.dialog.antennaNames.size(), 2);

    d.child<QLineEdit>("lineEdit_name_add")->clear();
    d.child<QLineEdit>("lineEdit_top_add")->clear();
    d.add("NEW", "", "", "");  // Top stays empty
    EXPECT_EQ(d.dialog.antennaNames.size(), 2);
    EXPECT_EQ(readFile("Antenna.ini"), twoAntennaCatalogue());

    QTest::mouseClick(d.child<QPushButton>("pushButton_cancel"), Qt::LeftButton);
    EXPECT_TRUE(d.child<QLineEdit>("lineEdit_name_add")->text().isEmpty());
    EXPECT_TRUE(d.child<QLineEdit>("lineEdit_bottom_add")->text().isEmpty());
    EXPECT_TRUE(d.child<QGroupBox>("groupBox_2")->isVisibleTo(&d.dialog));  // Cancel does not hide the group
}

TEST(AntManager, AFailedAppendIsReportedAndTheEntryKept) {
    ScratchDir scratch;
    Dialog d;
    QDir().mkdir("Antenna.ini");
    QTest::mouseClick(d.child<QPushButton>("pushButton_new"), Qt::LeftButton);
    d.add("A1", "1", "2", "3");
    EXPECT_EQ(d.dialog.antennaNames, QStringList({"A1"}));
    ASSERT_EQ(d.prompter.messages.size(), 1);
    EXPECT_EQ(d.prompter.messages[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(d.prompter.messages[0].text.contains(QDir::current().absoluteFilePath("Antenna.ini")))
        << d.prompter.messages[0].text.toStdString();
}
