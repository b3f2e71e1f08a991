#pragma once
// The "REV Evezodidaz" page: what the station sends to a hand-held
// controller with its set-up: three languages, two algorithms, six event
// icons with their legends and the register-events flag. It also opens the
// algorithm editor and the search for controllers.

#include "propertyPage/ConfigPage.h"

#include <memory>
#include <string>
#include <vector>

class QComboBox;
namespace kova {
class IconImageList;
}

class PropertyPage4 : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 252;
    static constexpr int ICON_ITEMS = 97;

    PropertyPage4();
    ~PropertyPage4() override;

    int getTemplateId() const override { return TEMPLATE_ID; }
    int getHeaderBitmapId() const override { return 253; }
    const std::vector<PageField>& fields() const override;

    // The language codes the catalogs of `folder` offer: "en" first, then the
    // name of every "*.mo" file up to its first ".", sorted by byte order
    // with duplicates kept.
    static std::vector<std::string> languageCandidates(const std::string& folder);
    const std::vector<std::string>& legends() const { return legends_; }

protected:
    void onInitPage() override;
    void onLoaded(const PropertyModel& model) override;
    void onStored(PropertyModel& model) override;

private:
    void fillAlgorithmCombos();
    void fillLanguageCombos();
    void fillIconCombos();
    QComboBox* combo(int id) const;
    void showAlgorithmDetails(int comboId);
    void lookForControllers();
    void editLegends();

    std::unique_ptr<kova::IconImageList> icons_;
    std::vector<std::string> legends_;
};
