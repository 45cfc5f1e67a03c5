// Delete_Base and Delete_Rover: the model, its parallel lists, the table rows and the plan.
#include <gtest/gtest.h>

#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QTabWidget>

#include "EditingTestSupport.h"
#include "GraphicsScene.h"
#include "PointDeletion.h"
#include "rawfile/RawJobReader.h"

namespace {

// Rovers R1..R6 of bases B1, B2, B1, B1, b1, B3: R3 and R4 are adjacent rovers of B1, R5's base differs
// from B1 only in letter case. Each rover's north is 4000000 + 10 × its number.
QByteArray deletionJob() {
    const char* bases[] = {"B1", "B2", "B1", "B1", "b1", "B3"};
    QByteArray raw = rawHeader();
    for (int i = 0; i < 6; ++i) {
        RawPoint p{"R" + QByteArray::number(i + 1),
                   4000000.0 + 10 * (i + 1),
                   500000.0 + i,
                   40.0 + i,
                   bases[i],
                   3999000.0 - i,
                   499000.0,
                   30.0};
        raw += rawGroup(p);
    }
    return raw;
}

QStringList columnTexts(const QTableWidget* table, int column) {
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return texts;
}

QStringList roverNames(const RawJob& job) {
    QStringList names;
    for (const RoverPoint& r : job.rovers) names << r.name;
    return names;
}

QStringList groupNames(const RawJob& job) {
    QStringList names;
    for (const PointRecordGroup& g : job.groups) names << QString::fromStdString(g.point.name.str());
    return names;
}

QStringList baseNames(const RawJob& job) {
    QStringList names;
    for (const BaseStation& b : job.bases) names << b.name;
    return names;
}

// The names drawn on the plan, sorted.
QStringList planNames(const RawBench& window) {
    QStringList names;
    for (QGraphicsItem* item : window.planScene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item)) names << text->text();
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) names << text->toPlainText();
    }
    names.sort();
    return names;
}

struct DeletionWindow : EditWindow {
    DeletionWindow() { open("job.raw", deletionJob()); }
    void showPage(int index) { window->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(index); }
    void deleteBaseAt(int row) {
        showPage(0);
        bases()->setCurrentCell(row, 1);
        action("action_Delete_Base")->trigger();
    }
    void deleteRoverAt(int row) {
        showPage(1);
        rovers()->setCurrentCell(row, 2);
        action("action_Delete_Rover")->trigger();
    }
    // Every list of the rovers and of the bases has one element per table row.
    void expectParallel() {
        const RawJob& job = window->job();
        EXPECT_EQ(job.groups.size(), job.rovers.size());
        EXPECT_EQ(groupNames(job), roverNames(job));
        EXPECT_EQ(columnTexts(rovers(), 0), roverNames(job));
        EXPECT_EQ(columnTexts(bases(), 0), baseNames(job));
        for (int row = 0; row < rovers()->rowCount(); ++row) {
            ASSERT_NE(combo(rovers(), row, 5), nullptr);
            EXPECT_EQ(combo(rovers(), row, 7)->currentIndex(), job.rovers[row].antennaMethod);
        }
        for (int row = 0; row < bases()->rowCount(); ++row) ASSERT_NE(combo(bases(), row, 4), nullptr);
    }
};

TEST(PointDeletion, RoversOfABaseGoByExactNameKeepingTheOthersInOrder) {
    RawJob job;
    for (const char* base : {"B1", "B2", "B1", "B1", "b1", "B3"}) {
        RoverPoint r;
        r.name = QString::number(job.rovers.size() + 1);
        r.baseName = base;
        job.rovers << r;
        job.groups << PointRecordGroup{};
        job.groups.back().point.name = r.name.toStdString();
    }
    job.groups.removeLast();  // a shorter group list loses only what it has
    QList<qsizetype> seen;
    EXPECT_EQ(deleteRoversOfBase(job, "B1", [&](qsizetype i) { seen << i; }), 3);
    EXPECT_EQ(seen, (QList<qsizetype>{0, 1, 1}));
    EXPECT_EQ(roverNames(job), (QStringList{"2", "5", "6"}));
    EXPECT_EQ(groupNames(job), (QStringList{"2", "5"}));
    EXPECT_EQ(deleteRoversOfBase(job, "nobody"), 0);
    deleteRover(job, 7);
    deleteBase(job, 0);
    EXPECT_EQ(job.rovers.size(), 3);
}

TEST(DeleteBaseCommand, AsksAndRemovesTheBaseWithAllItsRovers) {
    DeletionWindow w;
    ASSERT_EQ(baseNames(w.window->job()), (QStringList{"B1", "B2", "b1", "B3"}));
    w.deleteBaseAt(0);
    ASSERT_EQ(w.prompter.messages.size(), 1);
    EXPECT_EQ(w.prompter.messages[0].text, "Do you want to delete this base point?");
    EXPECT_EQ(w.prompter.messages[0].title, "");
    EXPECT_EQ(roverNames(w.window->job()), (QStringList{"R2", "R5", "R6"}));
    EXPECT_EQ(baseNames(w.window->job()), (QStringList{"B2", "b1", "B3"}));
    w.expectParallel();
    // The plan no longer shows the deleted points.
    EXPECT_EQ(planNames(*w.window), (QStringList{"B2", "B3", "R2", "R5", "R6", "b1"}));
}

TEST(DeleteBaseCommand, BaseWithoutRoversRemovesOnlyItsRow) {
    DeletionWindow w;
    w.deleteRoverAt(5);  // R6, the only rover of B3
    w.deleteBaseAt(3);
    EXPECT_EQ(baseNames(w.window->job()), (QStringList{"B1", "B2", "b1"}));
    EXPECT_EQ(roverNames(w.window->job()), (QStringList{"R1", "R2", "R3", "R4", "R5"}));
    w.expectParallel();
}

TEST(DeleteBaseCommand, AnsweringNoLeavesEverythingAsItWas) {
    DeletionWindow w;
    w.prompter.messageAnswer = QMessageBox::No;
    const QStringList plan = planNames(*w.window);
    w.deleteBaseAt(0);
    w.deleteRoverAt(0);
    EXPECT_EQ(w.prompter.messages.size(), 2);
    EXPECT_EQ(w.prompter.messages[1].text, "Do you want to delete this rover point?");
    EXPECT_EQ(roverNames(w.window->job()).size(), 6);
    EXPECT_EQ(baseNames(w.window->job()).size(), 4);
    EXPECT_EQ(w.rovers()->rowCount(), 6);
    EXPECT_EQ(w.bases()->rowCount(), 4);
    EXPECT_EQ(planNames(*w.window), plan);
}

TEST(DeleteBaseCommand, OnlyActsOnTheBasePageWithASelection) {
    DeletionWindow w;
    w.showPage(1);
    w.bases()->setCurrentCell(0, 1);
    w.action("action_Delete_Base")->trigger();
    w.showPage(0);
    w.rovers()->setCurrentCell(0, 2);
    w.action("action_Delete_Rover")->trigger();
    w.bases()->setCurrentItem(nullptr);
    w.action("action_Delete_Base")->trigger();
    EXPECT_TRUE(w.prompter.messages.isEmpty());
    EXPECT_EQ(w.window->job().rovers.size(), 6);
    EXPECT_EQ(w.window->job().bases.size(), 4);
}

TEST(DeleteRoverCommand, RemovesTheSelectedRoverAndSaveAsKeepsTheOthersRecords) {
    DeletionWindow w;
    w.deleteRoverAt(2);
    w.deleteRoverAt(2);  // R4 moved up into row 2
    EXPECT_EQ(roverNames(w.window->job()), (QStringList{"R1", "R2", "R5", "R6"}));
    w.expectParallel();
    EXPECT_EQ(planNames(*w.window), (QStringList{"B1", "B2", "B3", "R1", "R2", "R5", "R6", "b1"}));

    const QString saved = w.scratch.path("saved.raw");
    ASSERT_TRUE(w.window->saveJobAs(saved));
    RawJob reread;
    ASSERT_TRUE(readRawJob(saved, reread));
    EXPECT_EQ(roverNames(reread), (QStringList{"R1", "R2", "R5", "R6"}));
    const double north[] = {4000010.0, 4000020.0, 4000050.0, 4000060.0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(reread.rovers[i].north, north[i]) << i;
        EXPECT_EQ(reread.rovers[i].baseName, w.window->job().rovers[i].baseName) << i;
    }
}

TEST(DeleteRoverCommand, CalculateAfterDeletionReadsTheRemainingRows) {
    DeletionWindow w;
    w.deleteRoverAt(0);
    w.type(w.rovers(), 0, 6, "2.000");  // R2 now in row 0
    w.calculate();
    EXPECT_EQ(w.window->job().rovers[0].name, "R2");
    EXPECT_NEAR(w.window->job().rovers[0].height, 41.0 - 0.2, 1e-9);
    EXPECT_NEAR(w.window->job().rovers[1].height, 42.0, 1e-9);
}

}  // namespace
