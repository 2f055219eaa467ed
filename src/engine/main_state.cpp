#include "engine/main_state.h"

namespace kestrova {

const std::array<TopButton, 7>& TopButtons() {
    static const std::array<TopButton, 7> buttons = {{
        {"SpeedButton1", "Demos", "demos", {72, 1, 141, 34}},
        {"SpeedButton2", "Add-Ons", "add-ons", {214, 1, 129, 34}},
        {"SpeedButton7", "Database", "database", {341, 1, 140, 34}},
        {"SpeedButtonExit", "Exit", "exit", {480, 1, 65, 34}},
        {"SpeedButton6", "Utilities", "utility", {72, 34, 117, 36}},
        {"SpeedButton5", "Support", "support", {188, 34, 122, 36}},
        {"SpeedButton8", "Tobrik", "tobrik", {309, 34, 229, 36}},
    }};
    return buttons;
}

const TopButton* TopButtonForKey(const std::string& key) {
    for (const auto& b : TopButtons()) {
        if (key == b.key) {
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
