#pragma once
// The label font of the graph windows: "MS Sans Serif", 8 points, bold, made
// once and kept for the life of the program, with its text height. The live
// graph panel's curve labels and the surveillance tiles' captions use it.

class QFont;

class GraphLabelFont {
public:
    static const QFont& font();
    static int textHeight();
};
