#pragma once
// Acting on a modal window the code under test opens with exec(): the step runs
// once the window of that type is the active modal one (looked for every 10 ms
// for up to 5 s); a window still open afterwards is rejected, so that a failed
// step cannot hang the test.
#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

template <typename Dialog>
void whenShown(std::function<void(Dialog&)> step, QObject* owner = nullptr) {
    auto* timer = new QTimer(owner);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, step] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 500) return;
        timer->stop();
        timer->deleteLater();
        ASSERT_NE(dialog, nullptr) << "the window did not open";
        step(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    timer->start(10);
}
