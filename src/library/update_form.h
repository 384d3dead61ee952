// SPDX-License-Identifier: GPL-3.0-or-later
// UpdateForm: the screen shown while the archive scan runs.
#pragma once
#include <QElapsedTimer>
#include <QWidget>

#include "library/archive_scan.h"

class QLabel;
class QTimer;

namespace kelvorn {

class TwipScale;

class UpdateForm : public QWidget, public ScanProgress {
public:
    UpdateForm(QWidget* parent, const TwipScale& twips);

    // ScanProgress: the counters and the showing of the screen.
    void scanStarted() override;
    void showFound(int value) override;
    void showSort(int value) override;
    void scanFinished() override;

    bool blinkSwapped() const { return swapped_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The screen handles no keys, but nothing may fall through to the screen beneath.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* addLabel(const QString& text, double points, unsigned colour, int left, int top);
    void Timer1_Timer();

    const TwipScale& twips_;
    QLabel* UpdateFound = nullptr;
    QLabel* UpdateSort = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* stallTimer_ = nullptr;  // with KELVORN_DEBUG=1 only
    QElapsedTimer sinceTick_;
    qint64 longestStallMs_ = 0;
    bool swapped_ = false;  // squares drawn white-bordered red instead of red-bordered white
};

}  // namespace kelvorn
