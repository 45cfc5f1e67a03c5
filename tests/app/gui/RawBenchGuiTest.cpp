// The main window driven through its real widgets, for what only widgets can break: an editor still open
// when a tool-bar button is clicked, the wheel over combo cells, the antenna dialog's OK, questions about
// unsaved work.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QWheelEvent>
#include <memory>

#include "Ant_Manager.h"
#include "Dialog_Help.h"
#include "GuiTestSupport.h"
#include "RawBench.h"

namespace {

struct Window {
    ScratchDir scratch;
    ScriptedPrompter prompter;
    std::unique_ptr<RawBench> window;

    explicit Window(const QByteArray& catalogue = twoAntennaCatalogue()) {
        writeFile("Antenna.ini", catalogue);
        window = std::make_unique<RawBench>();
        window->setPrompter(&prompter);
        window->show();
    }
    QString open(const QByteArray& content) {
        const QString path = scratch.path("job.raw");
        writeFile(path, content);
        EXPECT_TRUE(window->openFile(path));
        return path;
    }
    template <typename T = QWidget>
    T* find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTableView* table(PointKind kind) const {
        find<QTabWidget>("tabWidget")->setCurrentIndex(kind == PointKind::Base ? 0 : 1);
        return find<QTableView>(kind == PointKind::Base ? "tableWidget_base" : "tableWidget_rover");
    }
    // Opens the cell's editor and types text into it, without pressing Return.
    QWidget* startTyping(PointKind kind, int row, int column, const QString& text) const {
        QTableView* view = table(kind);
        const QModelIndex index = view->model()->index(row, column);
        view->setCurrentIndex(index);
        view->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(index));
        EXPECT_NE(editor, nullptr);
        if (!editor) return nullptr;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        return editor;
    }
    void clickToolButton(const char* action) const {
        QToolBar* bar = find<QToolBar>("mainToolBar");
        QTest::mouseClick(bar->widgetForAction(find<QAction>(action)), Qt::LeftButton);
    }
    void wheel(QWidget* target, const QPoint& at) const {
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
};

QString examplePath(const char* name) { return QStringLiteral(RAWBENCH_EXAMPLES_DIR "/") + name; }

}  // namespace

TEST(RawBenchWindow, OpensTheExampleAndCalculatesAnEditStillOpenWhenTheToolBarIsClicked) {
    Window w(readFile(examplePath("Antenna.ini")));
    EXPECT_EQ(w.window->windowTitle(), "RawBench");
    QTabWidget* tabs = w.find<QTabWidget>("tabWidget");
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Coordinate");
    EXPECT_FALSE(w.find<QAction>("action_Calculate")->isEnabled());
    w.find<QAction>("action_About")->trigger();
    EXPECT_TRUE(w.window->aboutDialog()->isVisible());

    const QString path = w.open(readFile(examplePath("sample.raw")));
    EXPECT_EQ(w.window->job().rovers.size(), 36);
    EXPECT_EQ(w.window->windowTitle(), "RawBench   " + path + "[*]");
    EXPECT_TRUE(w.find<QAction>("action_Calculate")->isEnabled());

    // P00001: HL-500 Choke Ring, Bottom of Notch-Slant (Middle 0.137), antenna height 1.800 → 2.100.
    w.startTyping(PointKind::Rover, 0, 6, "2.1");
    w.clickToolButton("action_Calculate");
    EXPECT_NEAR(w.window->job().rovers[0].height, 25.0524 + 1.8 + 0.137 - 2.1 - 0.137, 1e-9);
    ASSERT_FALSE(w.prompter.messages.isEmpty());
    EXPECT_EQ(w.prompter.messages.last().text, "Finished\n1 point changed (1 rover, 0 bases).");
    EXPECT_TRUE(w.window->isWindowModified());
    EXPECT_TRUE(w.window->changesDock()->isVisible());
    EXPECT_EQ(w.find<QTreeWidget>("treeWidget_changes")->topLevelItemCount(), 1);
}

TEST(RawBenchWindow, TheWheelOverComboCellsScrollsAndNeverChangesAValue) {
    Window w;
    QByteArray job = rawHeader();
    for (int i = 0; i < 80; ++i)
        job += rawGroup(
            RawPoint{"R" + QByteArray::number(i), 4000000.0 + i, 500000.0, 50, "B1", 4000000, 500000, 48});
    w.open(job);
    QTableView* view = w.table(PointKind::Rover);
    const QRect cell = view->visualRect(view->model()->index(0, 5));
    w.wheel(view->viewport(), cell.center());
    EXPECT_GT(view->verticalScrollBar()->value(), 0);

    const QModelIndex index = view->model()->index(view->rowAt(cell.center().y()), 5);
    view->edit(index);
    auto* combo = qobject_cast<QComboBox*>(view->indexWidget(index));
    ASSERT_NE(combo, nullptr);
    const int chosen = combo->currentIndex();
    w.wheel(combo, combo->rect().center());
    EXPECT_EQ(combo->currentIndex(), chosen);
    EXPECT_TRUE(w.window->commitOpenEditors());
    EXPECT_EQ(w.window->session()->pendingCount(), 0);
}

TEST(RawBenchWindow, AntSetKeepsPendingEditsAndRefusedTextStopsTheCommand) {
    Window w;
    w.open(editJob());
    QWidget* editor = w.startTyping(PointKind::Base, 0, 1, "4000000.5");
    QTest::keyClick(editor, Qt::Key_Return);
    w.find<QAction>("action_Ant_Set")->trigger();
    w.window->antennaManager()->accept();
    EXPECT_TRUE(w.window->session()->isPending(PointKind::Base, 0, EditField::North));
    EXPECT_EQ(w.table(PointKind::Base)->model()->index(0, 1).data().toString(), "4000000.5000");

    w.startTyping(PointKind::Base, 0, 2, "3519163,7023");
    const qsizetype questions = w.prompter.messages.size();
    w.clickToolButton("action_Calculate");
    EXPECT_EQ(w.prompter.messages.size(), questions);  // no "Finished": nothing was calculated
    EXPECT_EQ(w.window->job().bases[0].north, 4000000.0);
    EXPECT_TRUE(w.window->statusBar()->currentMessage().contains("not a number"));
    EXPECT_FALSE(w.window->commitOpenEditors());  // the refused text is still there to be corrected
}

TEST(RawBenchWindow, DeletesSelectedRowsUndoablyAndAsksAboutUnsavedWork) {
    Window w;
    w.open(editJob());
    QTableView* rovers = w.table(PointKind::Rover);
    rovers->selectionModel()->select(rovers->model()->index(0, 3), QItemSelectionModel::Select);
    rovers->selectionModel()->select(rovers->model()->index(2, 9), QItemSelectionModel::Select);
    w.prompter.messageAnswers = {QMessageBox::Ok};
    w.find<QAction>("action_Delete_Rover")->trigger();
    EXPECT_TRUE(w.prompter.messages.last().text.endsWith("\n\nP1, P3"));
    ASSERT_EQ(w.window->job().rovers.size(), 1);
    EXPECT_EQ(w.window->job().rovers[0].name, "P2");

    w.prompter.messageAnswers = {QMessageBox::Cancel};
    EXPECT_FALSE(w.window->close());
    EXPECT_TRUE(w.window->isVisible());

    // Open with unsaved work: Save asks for the file first, then the job to open (cancelled here).
    const QString saved = w.scratch.path("kept.raw");
    w.prompter.messageAnswers = {QMessageBox::Save};
    w.prompter.saveAnswers = {saved};
    w.find<QAction>("action_Open")->trigger();
    EXPECT_FALSE(readFile(saved).isEmpty());
    EXPECT_EQ(w.prompter.saveQuestions.value(0).dir, w.scratch.path("job_new.Raw"));
    EXPECT_FALSE(w.window->isWindowModified());
    EXPECT_EQ(w.prompter.openQuestions.size(), 1);

    w.window->session()->undoStack()->undo();
    EXPECT_EQ(w.window->job().rovers.size(), 3);

    // Sorted and filtered, the rows still name the right points.
    rovers->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(rovers->model()->index(0, 0).data().toString(), "P3");
    w.find<QLineEdit>("lineEdit_rover_filter")->setText("p1");
    ASSERT_EQ(rovers->model()->rowCount(), 1);
    rovers->selectionModel()->clearSelection();
    rovers->setCurrentIndex(rovers->model()->index(0, 4));
    w.prompter.messageAnswers = {QMessageBox::Ok};
    w.find<QAction>("action_Delete_Rover")->trigger();
    ASSERT_EQ(w.window->job().rovers.size(), 2);
    EXPECT_EQ(w.window->job().rovers[0].name, "P2");
    w.prompter.messageAnswers = {QMessageBox::Discard};
    EXPECT_TRUE(w.window->close());
}
