#pragma once
// The session database files an export is writing, remembered in the user's
// registry from before the export's first byte until its file is written or
// given up: a start-up after a kill finds there the folders whose
// temporaries ("<file>.tmp" and six characters) it must sweep, and nowhere
// else outside the data folder does it look.

#include <string>
#include <vector>

class UnfinishedExports {
public:
    // Where the targets are kept (the user hive).
    static constexpr const char* KEY = "Software\\KOVA\\Unfinished exports";

    // Remembers the target for the life of the object.
    class During {
    public:
        explicit During(const std::string& target);
        ~During();
        During(const During&) = delete;
        During& operator=(const During&) = delete;

    private:
        std::string name_;
    };

    // Every target remembered and not forgotten, by the name it is kept under.
    struct Target {
        std::string name;
        std::string path;
    };
    static std::vector<Target> list();
    static void forget(const std::string& name);
};
