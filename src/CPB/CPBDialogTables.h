#pragma once
// The dialog tables of the controller transfer's windows: the two
// controller selectors and the progress window.

class CPBDialogTables {
public:
    static constexpr int GET_SELECTOR = 257;
    static constexpr int SEND_SELECTOR = 258;
    static constexpr int PROGRESS = 269;

    // Puts all three into the dialog registry.
    static void registerAll();
    // The id, after registering the tables when the registry lacks it.
    static int ensure(int id);
};
