// One whole round on the bundled example: edit, Calculate, Save as, reopen, Export.
#include <gtest/gtest.h>

#include "EditingTestSupport.h"

namespace {

QList<QStringList> parseCsvLines(const QByteArray& text) {
    // The example's texts hold no comma or quote, so every line splits at its commas.
    QList<QStringList> rows;
    for (const QByteArray& line : text.split('\n'))
        if (!line.isEmpty()) rows << QString::fromLatin1(line).split(QLatin1Char(','));
    return rows;
}

TEST(EditingEndToEnd, ExampleJobEditedCalculatedSavedReopenedAndExported) {
    EditWindow w(readFile(RAWBENCH_EXAMPLES_DIR "/Antenna.ini"));
    w.open("sample.raw", readFile(RAWBENCH_EXAMPLES_DIR "/sample.raw"));
    ASSERT_EQ(w.window->job().rovers.size(), 36);
    ASSERT_EQ(w.window->job().rovers[0].name, "P00001");
    ASSERT_EQ(w.window->job().bases[0].name, "BASE-A");

    // P00001: HL-500 Choke Ring, method 2 (Middle 0.137), antenna height 1.800 -> 2.100.
    w.type(w.rovers(), 0, 6, "2.100");
    // BASE-A: north 3519163.7023 -> 3519164.2023.
    w.type(w.bases(), 0, 1, "3519164.2023");
    w.calculate();
    ASSERT_EQ(w.prompter.messages.size(), 1);

    const QString saved = w.scratch.path("sample_new.Raw");
    w.prompter.saveAnswers.push_back(saved);
    w.action("actionSave_as")->trigger();
    EXPECT_EQ(w.prompter.saveQuestions.back().dir, w.scratch.path("sample_new.Raw"));

    // Reopen the saved job in a fresh window, then export it.
    EditWindow again(readFile(RAWBENCH_EXAMPLES_DIR "/Antenna.ini"));
    again.prompter.openAnswers.push_back(saved);
    again.action("action_Open")->trigger();
    ASSERT_EQ(again.window->job().rovers.size(), 36);
    const QString csv = again.scratch.path("sample.csv");
    again.prompter.saveAnswers.push_back(csv);
    again.action("action_Export")->trigger();
    const QList<QStringList> rows = parseCsvLines(readFile(csv));
    ASSERT_EQ(rows.size(), 37);

    auto rowOf = [&](const QString& name) {
        for (const QStringList& row : rows)
            if (row.value(0) == name) return row;
        return QStringList();
    };
    // P00001: moved with its base and lowered by the antenna change:
    //   north 3520536.8529 + 0.5 = 3520537.3529, height 25.0524 + 1.800 + 0.137 - 2.100 - 0.137 = 24.7524;
    //   its saved base copy is the moved base, so the vector is
    //   (3520537.3529 - 3519164.2023, 514174.5730 - 516596.2372, 24.7524 - 21.1086)
    //   = (1373.1506, -2421.6642, 3.6438), length 2783.884578.
    const QStringList p1 = rowOf("P00001");
    ASSERT_EQ(p1.size(), 27);
    EXPECT_EQ(p1.mid(2, 3), (QStringList{"3520537.352900", "514174.573000", "24.752400"}));
    EXPECT_EQ(p1.mid(18, 5),
              (QStringList{"1373.150600", "-2421.664200", "3.643800", "2783.884578", "2.100000"}));

    // P00006, another rover of BASE-A: moved 0.5 m north with it, same height, same vector as in the field:
    //   (3517502.2875 - 3519163.7023, 517916.4973 - 516596.2372, 17.6789 - 21.1086), length 2122.121022.
    const QStringList p6 = rowOf("P00006");
    ASSERT_EQ(p6.size(), 27);
    EXPECT_EQ(p6.mid(2, 3), (QStringList{"3517502.787500", "517916.497300", "17.678900"}));
    EXPECT_EQ(p6.mid(18, 4), (QStringList{"-1661.414800", "1320.260100", "-3.429700", "2122.121022"}));

    // P00002 belongs to BASE-C, which did not move: 3525334.2189 - 3523307.0236 = 2027.1953, etc.
    const QStringList p2 = rowOf("P00002");
    ASSERT_EQ(p2.size(), 27);
    EXPECT_EQ(p2.mid(2, 3), (QStringList{"3525334.218900", "518672.578500", "26.455000"}));
    EXPECT_EQ(p2.mid(18, 3), (QStringList{"2027.195300", "1698.685500", "5.555000"}));

    // The reopened base carries the edit.
    EXPECT_DOUBLE_EQ(again.window->job().bases[0].north, 3519164.2023);
}

}  // namespace
