// View > Zoom, View > Grid and the zoom keys, with real key events on a shown window.

#include "ZoomMenu.h"
#include "ZoomView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TMenuWindow {
    QMainWindow Window;
    std::vector<int> Levels, Steps;
    int Fits = 0;
    std::vector<bool> Grids;
    TZoomMenu* Menu = nullptr;

    TMenuWindow() {
        QMenu* view = Window.menuBar()->addMenu(QStringLiteral("View"));
        Menu = new TZoomMenu(*view, Window,
                             {[this](int level) { Levels.push_back(level); },
                              [this](int by) { Steps.push_back(by); }, [this] { ++Fits; },
                              [this](bool on) { Grids.push_back(on); }});
        Window.setCentralWidget(new QWidget);
        Window.show();
        Window.activateWindow();
        if (!QTest::qWaitForWindowActive(&Window)) ADD_FAILURE() << "the window never became active";
    }
};

TEST(ZoomMenu, ItemsAndKeysReachTheWindowWithTheirLevelOrStep) {
    TMenuWindow w;
    for (int level = TZoomView::MinLevel; level <= TZoomView::MaxLevel; ++level)
        w.Menu->LevelItem(level)->trigger();
    EXPECT_EQ(w.Levels, (std::vector<int>{-3, -2, -1, 0, 1, 2, 3}));
    EXPECT_TRUE(w.Menu->LevelItem(3)->isChecked());
    w.Menu->ShowLevel(-1);
    EXPECT_TRUE(w.Menu->LevelItem(-1)->isChecked());
    EXPECT_FALSE(w.Menu->LevelItem(3)->isChecked()) << "one level checked at a time";

    w.Levels.clear();
    QTest::keyClick(&w.Window, Qt::Key_0, Qt::ControlModifier);
    QTest::keyClick(&w.Window, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(&w.Window, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(&w.Window, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(w.Levels, (std::vector<int>{0}));
    EXPECT_EQ(w.Steps, (std::vector<int>{1, 1, -1}));

    w.Menu->FitItem()->trigger();
    w.Menu->GridItem()->trigger();
    w.Menu->GridItem()->trigger();
    EXPECT_EQ(w.Fits, 1);
    EXPECT_EQ(w.Grids, (std::vector<bool>{true, false}));
    EXPECT_EQ(w.Menu->Menu()->objectName(), QStringLiteral("Zoom1"));
}

} // namespace
