// SPDX-License-Identifier: GPL-3.0-or-later
// TmpList: the results of the alpha search. Each result knows its archive index, so
// select plays the archive from that song on; second select appends the archive entry
// to the custom list. Lines the highlight has not touched since the screen was
// revealed show dark yellow text.
#pragma once
#include "lists/list_browser.h"

namespace kelvorn {

// Text of the result lines the highlight has not yet touched, as list lines keep it.
constexpr unsigned kResultText = rgbFromBgr(palette::kResultText);

class TmpList : public ListBrowser {
    Q_OBJECT
public:
    TmpList(QWidget* stage, Services& services, Transitions& transitions);

    // Every new search opens on the first result with the highlight on line 0.
    void FadeIn() override;
    void FadeOut() override;

protected:
    int count() const override;
    const std::string& entry(int index) const override;
    void activate(int index, bool alt) override;

private:
    // The archive index of result `position`; -1 when it lies outside the tables.
    int archiveIndexOf(int position) const;
};

}  // namespace kelvorn
