#pragma once
// The window on a host folder, shown and exposed, as every window test starts it.

#include "HostFolder.h"

#include "app/Form1.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

inline void ShowWindow(std::unique_ptr<TForm1>& form, const HostFolder& host) {
    form = std::make_unique<TForm1>(host.AppFolder());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}
