#pragma once
// The one table of tooltip texts of the program: a control or command id to
// its text, translated when it is put in. Start-up fills the fixed entries,
// each event toolbar adds its buttons, and every window answers its tooltips
// and status tips from here (the Qt side is app/shell/ToolTipAnswer.h).

#include "Rodezir/ToolTipText.h"

#include <map>
#include <string>

class idMap {
public:
    using Map = std::map<int, std::wstring>;

    // Inserts the texts of the station's commands and session controls, translated.
    static void fill();
    // Inserts one text as given. An id already present keeps its first text
    // (the second insert is a fault and is logged).
    static void insert(int id, const std::wstring& text);
    // The text of the id; empty when it has none.
    static std::wstring lookup(int id);
    // Answers a tooltip's request for the text of `id`: false when the id has
    // no text (no tooltip); otherwise the text goes into the request, cut to
    // the request form's limit.
    static bool onNeedText(int id, kova::ToolTipTextRequest& request);

    // The whole table, and emptying it (at exit, and between tests).
    static const Map& entries();
    static void clear();
};
