#pragma once
// The algorithm editor as the configuration pages open it from their
// "Details..." buttons: the record editor on the chosen algorithm, with
// deleting not allowed.

#include "propertyPage/ConfigSeams.h"

#include <memory>
#include <string>

class AlgorithmDialog;

class AlgorithmDetailsEditor final : public configseams::AlgorithmEditor {
public:
    AlgorithmDetailsEditor(const std::string& name, bool allowDelete);
    ~AlgorithmDetailsEditor() override;

    int doModal() override;
    std::string getCurrentKey() const override;

private:
    std::unique_ptr<AlgorithmDialog> dialog_;
};

// Puts the algorithm editor behind the configuration pages' "Details..." buttons.
void installAlgorithmEditor();
