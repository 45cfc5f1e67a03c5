#pragma once
// Helpers of the editing tests (Calculate, Export, deletion, About): a window in a scratch directory
// with the two-antenna catalogue and a scripted prompter, and QTest edits of table cells and combo boxes.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "RawBench.h"

// Catalogue of the tests (twoAntennaCatalogue): HX-CSX601A Bottom 0.060, Top 0.120, Middle 0.090;
// TRM57971.00 Bottom 0.065, Top 0.128, Middle 0.095.
//
// The job of the editing tests: bases B1 (4000000, 500000, 48; HX-CSX601A, 1.5 m, method 0) and
// B2 (4000200, 500050, 45; TRM57971.00, 1.6 m, method 1); rovers P1 and P3 of B1, P2 of B2.
inline RawPoint editRoverP1() {
    return RawPoint{"P1", 4000100.5, 500200.25, 100.0, "B1", 4000000.0, 500000.0, 48.0};
}
inline RawPoint editRoverP2() {
    RawPoint p{"P2", 4000300.0, 500100.0, 52.0, "B2", 4000200.0, 500050.0, 45.0};
    p.antenna = "TRM57971.00";
    p.antennaHeight = 2.0;
    p.method = 2;
    p.solution = 4;
    p.baseAntenna = "TRM57971.00";
    p.baseAntennaHeight = 1.6;
    p.baseMethod = 1;
    return p;
}
inline RawPoint editRoverP3() {
    return RawPoint{"P3", 4000010.0, 500020.0, 49.0, "B1", 4000000.0, 500000.0, 48.0};
}
inline QByteArray editJob() {
    return rawHeader() + rawGroup(editRoverP1()) + rawGroup(editRoverP2()) + rawGroup(editRoverP3());
}

struct EditWindow {
    ScratchDir scratch;
    ScriptedPrompter prompter;
    std::unique_ptr<RawBench> window;

    explicit EditWindow(const QByteArray& catalogue = twoAntennaCatalogue()) {
        writeFile("Antenna.ini", catalogue);
        window = std::make_unique<RawBench>();
        window->setPrompter(&prompter);
        window->show();
    }
    QTableWidget* table(const char* name) const {
        auto* table = window->findChild<QTableWidget*>(QString::fromLatin1(name));
        EXPECT_NE(table, nullptr) << name;
        return table;
    }
    QTableWidget* bases() const { return table("tableWidget_base"); }
    QTableWidget* rovers() const { return table("tableWidget_rover"); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString cell(QTableWidget* table, int row, int column) const {
        QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QComboBox* combo(QTableWidget* table, int row, int column) const {
        return qobject_cast<QComboBox*>(table->cellWidget(row, column));
    }
    // Writes content into the scratch directory and opens it through the Open slot.
    QString open(const QString& fileName, const QByteArray& content) {
        const QString path = scratch.path(fileName);
        writeFile(path, content);
        prompter.openAnswers.push_back(path);
        action("action_Open")->trigger();
        return path;
    }
    // Types text into a cell as a user does: start editing, replace the editor's text, press Return.
    void type(QTableWidget* table, int row, int column, const QString& text) const {
        // The user sees the table's page first.
        window->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(table == bases() ? 0 : 1);
        table->setCurrentCell(row, column);
        table->editItem(table->item(row, column));
        QLineEdit* editor = nullptr;
        for (QLineEdit* candidate : table->viewport()->findChildren<QLineEdit*>())
            if (candidate->isVisible()) editor = candidate;
        ASSERT_NE(editor, nullptr) << "no editor for cell " << row << "," << column;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits the editor's text in a queued call and deletes the editor later.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(cell(table, row, column), text);
    }
    // Steps a combo box to index with the arrow keys.
    void choose(QComboBox* combo, int index) const {
        ASSERT_NE(combo, nullptr);
        for (int guard = 0; combo->currentIndex() != index && guard < 100; ++guard)
            QTest::keyClick(combo, combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(combo->currentIndex(), index);
    }
    void calculate() const { action("action_Calculate")->trigger(); }
};
