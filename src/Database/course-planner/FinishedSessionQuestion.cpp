#include "Database/course-planner/FinishedSessionQuestion.h"

#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

namespace finishedsessions {

namespace {

std::wstring wide(const std::string& text) { return toWide(text, CP_UTF8); }

std::wstring participants(const SessionRecord& row)
{
    const std::string& ventilation = row.PersonVentilation;
    const std::string& compression = row.PersonChestCompression;
    if (ventilation.empty() && compression.empty())
        return Gettext::translate("no participants");
    // One person does both in single-person CPR.
    if (compression.empty() || compression == ventilation)
        return wide(ventilation);
    if (ventilation.empty())
        return wide(compression);
    return wide(ventilation) + Gettext::translate(" and ") + wide(compression);
}

} // namespace

unsigned questionStyle() { return platform::MB_YESNO | platform::MB_ICONEXCLAMATION | platform::MB_DEFBUTTON2; }

std::wstring describeRow(const SessionRecord& row, int number)
{
    return Gettext::translate("Row") + L" " + std::to_wstring(number) + L" (" + wide(row.StartTime) + L"): "
        + participants(row);
}

bool confirmRemoveRow(const SessionRecord& row, int number)
{
    const std::wstring text = Gettext::translate("The session of this row has been run and its result is stored:")
        + L"\n\n" + describeRow(row, number) + L"\n\n"
        + Gettext::translate("Its stored result and its data file are deleted with the row.\nRemove the row?");
    return platform::messageBox(text, L"Kova CPR Software", questionStyle()) == platform::IDYES;
}

std::wstring courseParagraph(const std::vector<SessionRecord>& rows)
{
    std::wstring named;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Done)
            named += L"\n" + describeRow(rows[i], static_cast<int>(i) + 1);
    if (named.empty())
        return {};
    return L"\n\n"
        + Gettext::translate("These sessions of the course have been run; their stored results and data files are "
                             "deleted too:")
        + named;
}

} // namespace finishedsessions
