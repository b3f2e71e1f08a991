#pragma once
// The "Algorithm" editor (dialog 179): browses, creates, changes and deletes
// the guideline limits against which sessions are evaluated. The
// compression/relaxation values show as percentages or as ratios by the
// station's notation setting; every number is kept in its range when its
// field is left and before the entry is stored, and the guidelines that
// come with the station keep their names and cannot be deleted here.

#include "config/AlgorithmRecord.h"
#include "Database/AlgorithmTable.h"
#include "Database/editors/RecordEditorDialog.h"

#include <string>

namespace kova {
class MaskedEdit;
}

class AlgorithmDialog : public RecordEditorDialog<AlgorithmTable, AlgorithmRecord> {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 179;
    static constexpr int HELP_TOPIC = 10006;
    // The fields of a percentage of the compression share.
    static constexpr int RECOMMENDED_SHARE = 1138;
    static constexpr int RELAXATION_SHARE = 1148;
    static constexpr int SCRATCH = 1139;

    // On the algorithm of that name (a new entry under it when there is none;
    // the first row without a name). Deleting is for the Database menu only.
    AlgorithmDialog(const std::string& initialKey, bool allowDelete, QWidget* parent = nullptr);
    ~AlgorithmDialog() override;

    // Runs the dialog modally; the key it ended on is getCurrentKey().
    int run() { return doModal(); }

    bool percentNotation() const { return percent_; }
    // The range check that runs when a number field is left, and before the
    // entry is stored or asked about.
    void checkRanges();

protected:
    bool onInitDialog() override;

    void showRecord(const AlgorithmRecord& record) override;
    AlgorithmRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(unsigned mask) override;
    std::wstring message(int kind) override;
    void notifyChanged() override;
    void fillQuickFind() override;
    bool confirmOverwrite() override { return true; }
    void applyFieldRules() override;
    bool afterStore() override;

private:
    struct NumberField;
    static const NumberField NUMBER_FIELDS[];

    kova::MaskedEdit* edit(int id) const;
    void showNumber(int id, double value);
    double readNumber(int id) const;
    // The field's value as a percentage: its number, or its ratio turned back.
    double readShare(int id, double stored) const;
    // The ratio text a stored share shows, cut by the field's mask.
    QString ratioText(double share) const;
    void onRecommendedShareChanged();
    // Fields that hold no number show the value they are read as.
    void showEmptiedFields(const AlgorithmRecord& record);

    AlgorithmTable table_;
    std::string initialKey_;
    bool percent_ = true;
    bool validating_ = false;
};
