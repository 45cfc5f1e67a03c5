// The three batch dialogs through their real widgets, opened from the Edit menu over the window: what is
// typed reaches the preview, OK stages one undo step, the Changes list names the reason after Calculate.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <memory>

#include "GuiTestSupport.h"
#include "RawBench.h"
#include "RenameDialog.h"
#include "SetAntennaDialog.h"
#include "ShiftBaseDialog.h"

namespace {

struct Window {
    ScratchDir scratch;
    ScriptedPrompter prompter;
    std::unique_ptr<RawBench> window;

    Window() {
        writeFile("Antenna.ini", twoAntennaCatalogue());
        window = std::make_unique<RawBench>();
        window->setPrompter(&prompter);
        window->show();
        const QString path = scratch.path("job.raw");
        writeFile(path, editJob(true));
        EXPECT_TRUE(window->openFile(path));
    }
    template <typename T = QWidget>
    T* find(QObject* in, const char* name) const {
        T* found = in->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void select(const char* table, const QList<int>& rows) const {
        auto* view = find<QTableView>(window.get(), table);
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 2),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Triggers the Edit menu action and returns the dialog it opened over the window.
    template <typename Dialog>
    Dialog* open(const char* action) const {
        find<QAction>(window.get(), action)->trigger();
        auto* dialog = window->findChild<Dialog*>();
        EXPECT_TRUE(dialog && dialog->isVisible());
        return dialog;
    }
    static void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    static void clickOk(QDialog* dialog) {
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ASSERT_TRUE(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    QString changesWhy() const {
        find<QAction>(window.get(), "action_Calculate")->trigger();
        QStringList why;
        auto* list = find<QTreeWidget>(window.get(), "treeWidget_changes");
        for (int i = 0; i < list->topLevelItemCount(); ++i) why << list->topLevelItem(i)->text(3);
        return why.join(" | ");
    }
};

}  // namespace

TEST(BatchDialogs, SetAntennaOnAllRoversOfABaseStagesOneStepAndIsReported) {
    Window w;
    w.select("tableWidget_rover", {1});
    auto* dialog = w.open<SetAntennaDialog>("action_Set_Antenna");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(w.find<QRadioButton>(dialog, "radioButton_selection")->text(), "Selected in the table (1)");
    QComboBox* base = w.find<QComboBox>(dialog, "comboBox_base");
    base->setCurrentIndex(base->findText("B1"));
    QTest::mouseClick(w.find<QRadioButton>(dialog, "radioButton_base"), Qt::LeftButton);
    auto* preview = w.find<QLabel>(dialog, "label_preview");
    EXPECT_TRUE(preview->text().contains("everything is kept"));
    w.type(w.find<QLineEdit>(dialog, "lineEdit_height"), "2.1");
    // P1 and P3 of B1 (not P4 of "b1"): 1.8 m → 2.1 m, same antenna and method.
    EXPECT_TRUE(preview->text().contains("2 of 2 rover(s) change")) << preview->text().toStdString();
    EXPECT_TRUE(preview->text().contains("by -0.3000 m.")) << preview->text().toStdString();
    w.clickOk(dialog);
    EXPECT_EQ(w.window->session()->pendingCount(), 2);
    EXPECT_EQ(w.window->session()->undoStack()->count(), 1);
    EXPECT_EQ(w.changesWhy(), "batch antenna set-up | batch antenna set-up");
}

// A field of "to coordinates" left as shown (4 decimals) keeps the exact value behind it, instead of being
// read back rounded and refused as a change within 0.001 m.
TEST(BatchDialogs, MoveBaseKeepsTheExactValueOfAFieldLeftAsShown) {
    Window w;
    ASSERT_EQ(w.window->session()->stage(PointKind::Base, 0, EditField::East, 500000.12345), QString());
    w.select("tableWidget_base", {0});
    auto* dialog = w.open<ShiftBaseDialog>("action_Shift_Base");
    ASSERT_NE(dialog, nullptr);
    w.type(w.find<QLineEdit>(dialog, "lineEdit_h"), "48.25");
    const QString preview = w.find<QLabel>(dialog, "label_preview")->text();
    EXPECT_FALSE(preview.contains("within 0.001 m")) << preview.toStdString();
    w.clickOk(dialog);
    EXPECT_EQ(w.window->session()->value(PointKind::Base, 0, EditField::East), 500000.12345);
    EXPECT_EQ(w.window->session()->value(PointKind::Base, 0, EditField::Height), 48.25);
}

TEST(BatchDialogs, ShiftBaseByADifferenceOrToCoordinatesPreviewsItsFollowers) {
    Window w;
    w.select("tableWidget_base", {0});
    auto* dialog = w.open<ShiftBaseDialog>("action_Shift_Base");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(w.find<QComboBox>(dialog, "comboBox_base")->currentText(), "B1");
    EXPECT_EQ(w.find<QLineEdit>(dialog, "lineEdit_n")->text(), "4000000.0000");
    auto* preview = w.find<QLabel>(dialog, "label_preview");
    w.type(w.find<QLineEdit>(dialog, "lineEdit_h"), "48.25");  // typing there picks "to coordinates"
    EXPECT_TRUE(w.find<QRadioButton>(dialog, "radioButton_move")->isChecked());
    EXPECT_TRUE(preview->text().contains("48.2500")) << preview->text().toStdString();
    w.type(w.find<QLineEdit>(dialog, "lineEdit_dn"), "0.5");
    EXPECT_TRUE(w.find<QRadioButton>(dialog, "radioButton_shift")->isChecked());
    EXPECT_TRUE(preview->text().contains("4000000.5000")) << preview->text().toStdString();
    EXPECT_TRUE(preview->text().contains("2 rover(s) follow")) << preview->text().toStdString();
    w.clickOk(dialog);
    EXPECT_EQ(w.window->session()->value(PointKind::Base, 0, EditField::North), 4000000.5);
    EXPECT_EQ(w.changesWhy(),
              "base B1 moved | base B1 moved | base shifted by ΔN +0.5000 / ΔE +0.0000 / ΔH +0.0000");
}

TEST(BatchDialogs, RenameAsksBeforeTwoRoversShareANameAndStaysOpenOnNo) {
    Window w;
    w.select("tableWidget_rover", {0, 2});
    auto* dialog = w.open<RenameDialog>("action_Rename_Rovers");
    ASSERT_NE(dialog, nullptr);
    w.find<QCheckBox>(dialog, "checkBox_regex")->setChecked(true);
    w.type(w.find<QLineEdit>(dialog, "lineEdit_find"), "P(\\d)");
    w.type(w.find<QLineEdit>(dialog, "lineEdit_replace"), "P2");  // P1 and P3 both become "P2", as P2 is
    auto* names = w.find<QTreeWidget>(dialog, "treeWidget_preview");
    ASSERT_EQ(names->topLevelItemCount(), 2);
    EXPECT_EQ(names->topLevelItem(1)->text(1), "P2 — another rover has this name");
    w.prompter.messageAnswers = {QMessageBox::No};
    w.clickOk(dialog);
    EXPECT_TRUE(w.prompter.messages.last().text.contains("share a name: P2."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(w.window->session()->pendingCount(), 0);

    w.type(w.find<QLineEdit>(dialog, "lineEdit_replace"), "Q\\1");
    EXPECT_EQ(names->topLevelItem(1)->text(1), "Q3");
    const qsizetype asked = w.prompter.messages.size();
    w.clickOk(dialog);
    EXPECT_EQ(w.prompter.messages.size(), asked);  // no shared name: nothing to ask
    EXPECT_EQ(w.window->session()->value(PointKind::Rover, 2, EditField::Name), "Q3");
    EXPECT_EQ(w.changesWhy(), "renamed | renamed");
}
