#pragma once
// The recommendation text of a session, collected by priority: what was
// stored with the session when it was read back, then what the instructor
// has typed into the debriefing's recommendation box; joined into one text
// of lines for the debriefing and the printout.

#include <map>
#include <string>

class RecommendationList {
public:
    static constexpr int STORED = -50;
    static constexpr int TYPED = -40;
    // The most entries a join takes.
    static constexpr std::size_t MAX_ENTRIES = 3;
    // The most characters of the box that count.
    static constexpr std::size_t BOX_LIMIT = 349;

    RecommendationList() = default;
    // The stored recommendation (narrow text of the station's code page) and
    // the box's text, of which the first 349 characters count.
    RecommendationList(const std::string& stored, const std::wstring& box);

    // Entries of equal priority keep the order they were added in.
    void add(int priority, const std::wstring& text);
    // The first three entries from the lowest priority up, each after a line
    // end once the text so far is not empty.
    std::wstring join() const;

private:
    std::multimap<int, std::wstring> entries_;
};
