#include "controls/reportctrl/ReportCellCodec.h"

#include <charconv>
#include <cstdio>

namespace kova {
namespace {

char g_separator = '|';
std::string g_emptyCell = "(-1,-1,-1,-1)|";

bool parseNumber(const std::string& row, std::size_t& at, char terminator, int& value)
{
    const char* first = row.data() + at;
    const char* last = row.data() + row.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == last || *end != terminator)
        return false;
    at = static_cast<std::size_t>(end - row.data()) + 1;
    return true;
}

// Cuts at most `room` bytes of UTF-8 text without splitting a character.
std::string cutText(const std::string& text, std::size_t room)
{
    if (text.size() <= room)
        return text;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

} // namespace

char ReportCellCodec::separator() { return g_separator; }

void ReportCellCodec::setSeparator(char separator)
{
    g_separator = separator;
    g_emptyCell = encode(ReportCell{});
}

const std::string& ReportCellCodec::emptyCell() { return g_emptyCell; }

std::string ReportCellCodec::emptyRow(int cells)
{
    std::string row;
    for (int i = 0; i < cells; ++i)
        row += g_emptyCell;
    return row;
}

std::string ReportCellCodec::encode(const ReportCell& cell)
{
    const int length = cell.text.empty() ? -1 : static_cast<int>(cell.text.size());
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "(%d,%d,%d,%d)", cell.image, cell.check, cell.colour, length);
    return numbers + cell.text + g_separator;
}

bool ReportCellCodec::parseCell(const std::string& row, std::size_t at, std::size_t& end, ReportCell* cell)
{
    if (at >= row.size() || row[at] != '(')
        return false;
    ++at;
    int image = 0, check = 0, colour = 0, length = 0;
    if (!parseNumber(row, at, ',', image) || !parseNumber(row, at, ',', check) ||
        !parseNumber(row, at, ',', colour) || !parseNumber(row, at, ')', length))
        return false;
    if (length < -1)
        return false;
    const std::size_t textLength = length < 0 ? 0 : static_cast<std::size_t>(length);
    if (textLength >= row.size() - at || row[at + textLength] != g_separator)
        return false;
    if (cell) {
        cell->image = image;
        cell->check = check;
        cell->colour = colour;
        cell->text = row.substr(at, textLength);
    }
    end = at + textLength + 1;
    return true;
}

bool ReportCellCodec::locate(const std::string& row, int index, std::size_t& begin, std::size_t& end,
                             ReportCell* cell)
{
    if (index < 0)
        return false;
    std::size_t at = 0;
    for (int k = 0; k < index; ++k) {
        if (!parseCell(row, at, at, nullptr))
            return false;
    }
    begin = at;
    return parseCell(row, at, end, cell);
}

bool ReportCellCodec::readCell(const std::string& row, int index, ReportCell& cell, std::size_t limit)
{
    std::size_t begin = 0, end = 0;
    ReportCell read;
    if (!locate(row, index, begin, end, &read))
        return false;
    if (limit == 0)
        read.text.clear();
    else
        read.text = cutText(read.text, limit - 1);
    cell = std::move(read);
    return true;
}

bool ReportCellCodec::writeCell(std::string& row, int index, const ReportCell& cell)
{
    std::size_t begin = 0, end = 0;
    if (!locate(row, index, begin, end, nullptr))
        return false;
    row.replace(begin, end - begin, encode(cell));
    return true;
}

void ReportCellCodec::insertCell(std::string& row, int index)
{
    std::size_t begin = 0, end = 0;
    if (locate(row, index, begin, end, nullptr)) {
        row.insert(begin, g_emptyCell);
        return;
    }
    std::size_t at = 0;
    while (parseCell(row, at, at, nullptr)) {
    }
    row.insert(at, g_emptyCell);
}

int ReportCellCodec::cellCount(const std::string& row)
{
    int count = 0;
    std::size_t at = 0;
    while (parseCell(row, at, at, nullptr))
        ++count;
    return count;
}

} // namespace kova
