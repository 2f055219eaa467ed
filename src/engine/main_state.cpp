#include "engine/main_state.h"

#include "catalogue/disc_layout.h"

namespace kestrova {

const std::array<TopButton, 7>& TopButtons() {
    static const std::array<TopButton, 7> buttons = {{
        {"SpeedButton1", "Demos", {72, 1, 141, 34}},
        {"SpeedButton2", "Add-Ons", {214, 1, 129, 34}},
        {"SpeedButton7", "Database", {341, 1, 140, 34}},
        {"SpeedButtonExit", "Exit", {480, 1, 65, 34}},
        {"SpeedButton6", "Utilities", {72, 34, 117, 36}},
        {"SpeedButton5", "Support", {188, 34, 122, 36}},
        {"SpeedButton8", "Tobrik", {309, 34, 229, 36}},
    }};
    return buttons;
}

const TopButton* TopButtonForKey(std::string_view key) {
    const Section* section = SectionForKey(key);
    if (section == nullptr) {
        return nullptr;
    }
    for (const auto& b : TopButtons()) {
        if (std::string_view(b.name) == section->button) {
            return &b;
        }
    }
    return nullptr;
}

void SetSpriteImage(TSpriteRec& sprite, PictureCollection& collection, int index,
                    const char* collectionName) {
    PictureCollectionItem& item = collection.Items(index);
    sprite.image = &item;
    sprite.imageLabel = item.Name.empty()
                            ? std::string(collectionName) + "[" + std::to_string(index) + "]"
                            : item.Name;
}

} // namespace kestrova
