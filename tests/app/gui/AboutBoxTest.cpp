// The About box: its texts, fonts and size, shown without blocking the main window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "Dialog_Help.h"
#include "EditingTestSupport.h"

namespace {

TEST(AboutBox, ShowsVersionAndBuildInCalibri) {
    Dialog_Help help;
    EXPECT_EQ(help.windowTitle(), "About this...");
    EXPECT_EQ(help.size(), QSize(240, 128));
    const struct {
        const char* object;
        const char* text;
    } labels[] = {{"label", "RawBench V1.0.0"}, {"label_3", "Build @ 2015/05/07(Velmora)"}};
    for (const auto& l : labels) {
        auto* label = help.findChild<QLabel*>(l.object);
        ASSERT_NE(label, nullptr) << l.object;
        EXPECT_EQ(label->text(), l.text);
        EXPECT_EQ(label->font().family(), "Calibri");
        EXPECT_EQ(label->font().pointSize(), 12);
    }
    auto* ok = help.findChild<QPushButton*>("pushButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->font().family(), "Calibri");
}

TEST(AboutBox, AboutShowsItNonModallyAndOkHidesIt) {
    EditWindow w;
    Dialog_Help* help = w.window->aboutDialog();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->parent(), nullptr);
    EXPECT_FALSE(help->isVisible());
    w.action("action_About")->trigger();  // returns at once: nothing waits for the box
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    w.action("action_About")->trigger();
    EXPECT_TRUE(help->isVisible());
    QTest::mouseClick(help->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(help->result(), QDialog::Accepted);
    EXPECT_TRUE(w.action("action_About")->isEnabled());
}

}  // namespace
