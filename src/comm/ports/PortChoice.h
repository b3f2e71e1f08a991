#pragma once
// One entry of a port choice list: the text a dialog shows and the port
// number it stands for.

#include <string>

struct PortChoice {
    int port = 0;
    std::string text;

    bool operator==(const PortChoice&) const = default;
};
