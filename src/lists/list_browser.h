// SPDX-License-Identifier: GPL-3.0-or-later
// ListBrowser: the ten-line list page the list screens share. It pages, moves the
// highlight, jumps between initial letters, flashes the activated line and closes back
// to the main screen; each screen gives its source list and what activation does.
#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <string>

#include "core/menu_frame.h"
#include "core/menu_screen.h"
#include "lists/list_colours.h"
#include "lists/list_paging.h"

namespace kelvorn {

class ClickLabel;
class Transitions;

// What tells the list screens apart besides their hooks.
struct ListOptions {
    QString title;
    bool playbackKeys = true;  // "5" skips and "4" goes back a song
    bool cutExtension = true;  // lines show entries without their last four characters
};

class ListBrowser : public MenuScreen {
    Q_OBJECT
public:
    ListBrowser(QWidget* stage, Services& services, Transitions& transitions, const ListOptions& options);

    void keyTyped(const std::string& key) override;

    // Writes the ten line texts from AktListPos (a negative position becomes 0).
    void FillList();
    // Activates line `index` as select or second select, by AltSelect.
    void ListLine_Click(int index);
    // Back to the main screen ("<<" or KeyBack).
    void close();

    void FadeIn() override;
    void FadeOut() override;

    // The line's background as a 0x00BBGGRR integer, and its text colour.
    unsigned lineBackground(int line) const;
    unsigned lineTextColour(int line) const;

    // The screen's elements.
    std::array<ClickLabel*, kListLines> ListLine{};
    ClickLabel* Label1;  // page up strip
    ClickLabel* Label2;  // page down strip
    MenuFrame frame;

    int16_t AktListPos = 0;
    int16_t aktbutt = 0;

protected:
    // The source list: its highest index (-1 when empty) and entry i ("" outside it).
    virtual int count() const = 0;
    virtual const std::string& entry(int index) const = 0;
    // What select (alt false) or second select does on a line that shows text; the
    // line's colour is restored afterwards.
    virtual void activate(int index, bool alt) = 0;
    // An extra test made first by highlight down: true stops the highlight.
    virtual bool downStops() const { return false; }

    // The flash of line `index`: 24 steps of 201 passes, not scaled by the speed factor.
    void flash(int index, Flash kind);
    // After a flash: the line's background as it is now (orange only if highlighted).
    void restoreLineLook(int index);
    // The list position line `index` stands for, when it still lies inside the list
    // (the list or the page may have changed while a flash let events run); -1 otherwise.
    int positionOf(int index) const;
    bool lineEmpty(int index) const;

    void paintLine(int line, unsigned text, unsigned back);
    void setLineBackground(int line, unsigned back);
    void setLineTextColour(int line, unsigned text);
    // All lines normal, line 0 highlighted, the page at the top.
    void resetPage();

    Transitions& transitions_;

private:
    void moveHighlight(int to);
    void setPage(ListPage page);

    ListOptions options_;
    std::array<unsigned, kListLines> text_{};
    std::array<unsigned, kListLines> back_{};
};

}  // namespace kelvorn
