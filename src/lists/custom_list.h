// SPDX-License-Identifier: GPL-3.0-or-later
// CustomList: the song list that list mode plays; select plays it from the line,
// second select removes the line's entry.
#pragma once
#include "lists/list_browser.h"

namespace kelvorn {

class CustomList : public ListBrowser {
    Q_OBJECT
public:
    CustomList(QWidget* stage, Services& services, Transitions& transitions);

protected:
    int count() const override;
    const std::string& entry(int index) const override;
    void activate(int index, bool alt) override;
    // The highlight stops at line CustomCount (a line number, compared with the highest index).
    bool downStops() const override;
};

}  // namespace kelvorn
