// SPDX-License-Identifier: GPL-3.0-or-later
// FullList: the whole archive; select plays the archive from the line, second select
// appends the line's entry to the custom list.
#pragma once
#include "lists/list_browser.h"

namespace kelvorn {

class FullList : public ListBrowser {
    Q_OBJECT
public:
    FullList(QWidget* stage, Services& services, Transitions& transitions);

protected:
    int count() const override;
    const std::string& entry(int index) const override;
    void activate(int index, bool alt) override;
};

}  // namespace kelvorn
