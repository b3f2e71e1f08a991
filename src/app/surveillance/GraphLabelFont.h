#pragma once
// The label font of the graph windows: "MS Sans Serif", 8 points, bold, made
// once and kept for the life of the program, with its text height. The live
// graph panel's labels use it, and the surveillance tiles measure their
// caption and rate lines by it.

class QFont;

class GraphLabelFont {
public:
    static const QFont& font();
    static int textHeight();
};
