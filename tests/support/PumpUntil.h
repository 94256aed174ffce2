#pragma once
// Runs the Qt event loop until pred() holds or nTimeoutMs pass; returns pred().
#include <QCoreApplication>
#include <QElapsedTimer>

template <class Pred> bool PumpUntil(Pred pred, int nTimeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < nTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}
