#pragma once
// The window's controls, found by their object names the way the tests reach
// them: they click and type on these as a user would.

#include "app/CatalogGrid.h"
#include "app/FindBar.h"
#include "viewer/MemoEx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

struct WindowControls {
    explicit WindowControls(const QWidget& shown) : window(shown) {}

    template <class T> T* Find(const char* name) const {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control named " << name;
        return found;
    }

    const QWidget& window;
    QTabWidget* PStrany = Find<QTabWidget>("PStrany");
    QWidget* TabZozn = Find<QWidget>("TabZozn");
    CatalogGrid* GrZozn = Find<CatalogGrid>("GrZozn");
    QPushButton* BView = Find<QPushButton>("BView");
    QPushButton* BOrder = Find<QPushButton>("BOrder");
    QPushButton* BRefr = Find<QPushButton>("BRefr");
    QComboBox* cbMesiac = Find<QComboBox>("cbMesiac");
    QWidget* TabView = Find<QWidget>("TabView");
    TMemoEx* MSubor = Find<TMemoEx>("MSubor");
    QPushButton* BZozn = Find<QPushButton>("BZozn");
    QPushButton* BMensie = Find<QPushButton>("BMensie");
    QPushButton* bVacsie = Find<QPushButton>("bVacsie");
    QLineEdit* EStr1 = Find<QLineEdit>("EStr1");
    QLineEdit* EStr2 = Find<QLineEdit>("EStr2");
    QPushButton* BOrient = Find<QPushButton>("BOrient");
    QPushButton* BTlac = Find<QPushButton>("BTlac");
    QPushButton* bStop = Find<QPushButton>("bStop");
    QLabel* SText = Find<QLabel>("SText");
    FindBar* searchBar = Find<FindBar>("FindBar");
    QLineEdit* findText = Find<QLineEdit>("FindText");
    QCheckBox* findMatchCase = Find<QCheckBox>("FindMatchCase");
    QLabel* findNotice = Find<QLabel>("FindNotice");
    // The list's rows, as the grid shows them.
    QAbstractItemModel* rows = GrZozn != nullptr ? GrZozn->model() : nullptr;
};

inline WindowControls Controls(const QWidget& window) {
    return WindowControls(window);
}

// Puts the list's cursor on an entry (1 = the first row) with the keys a user
// would press in the list.
inline void SelectEntry(const QWidget& window, int position) {
    CatalogGrid* list = Controls(window).GrZozn;
    QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
    for (int row = 1; row < position; ++row)
        QTest::keyClick(list, Qt::Key_Down);
}

// Picks a source in the selector as the user does it: with the keyboard.
inline void ChooseSource(const QWidget& window, int item) {
    QComboBox* selector = Controls(window).cbMesiac;
    selector->setFocus();
    QTest::keyClick(selector, Qt::Key_Home);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(selector, Qt::Key_Down);
    ASSERT_EQ(selector->currentIndex(), item);
}

// The list shown and ready; or the notice of a failure in its place, with the
// buttons that need an entry disabled.
inline bool ListShown(const QWidget& window) {
    const WindowControls controls(window);
    return !controls.GrZozn->isHidden() && controls.SText->isHidden() &&
           controls.BTlac->isEnabled() && controls.BView->isEnabled() &&
           controls.BOrder->isEnabled();
}
inline bool FailureShown(const QWidget& window) {
    const WindowControls controls(window);
    return controls.GrZozn->isHidden() && !controls.SText->isHidden() &&
           !controls.BTlac->isEnabled() && !controls.BView->isEnabled() &&
           !controls.BOrder->isEnabled();
}
