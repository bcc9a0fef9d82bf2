// The wizard controls' rules that need no window: the enumerations, the
// move direction, the page-information text, the bar's button layout per
// help position, the rule under the description, the page's place above the
// bars, which parts each page style shows, and the bar's page collection.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace corvella::wizard {

enum EButtons : int { ButtonNext = 0, ButtonBack = 1, ButtonCancel = 2, ButtonHelp = 3 };
enum EHelpPosition : int { Left = 0, Right = 1, Middle = 2, Between = 3 };
enum EMoveDirection : int { Still = 0, BackWard = 1, Forward = 2 };
enum EPageStyle : int { Banner = 0, Splash = 1, Blank = 2 };

// Twips of the bar and its constituents.
constexpr int kBarHeight = 690;
constexpr int kButtonWidth = 1155;
constexpr int kButtonHeight = 360;
// Twips of a page's splash band, down its left side; its picture sits at
// the band's top left.
constexpr int kSplashWidth = 2535;

EMoveDirection DirectionOf(int to, int from);

// "Page 2 of 6".
std::string PageInfoText(int page, int count);

// Left edges of the four buttons, by EButtons, for inner width `sw` and
// button width `w`; false (nothing moves) for an unknown help position.
bool ButtonLefts(int helpPosition, int sw, int w, std::array<int, 4>& lefts);

// Where both rule lines start: right of the description label, or 0.
int RuleStart(const std::string& description, int labelWidth, int labelLeft);

// A page's height above the form's bars (never negative).
int PageHeight(int parentHeight, int barsHeight);

// What a restored page of a style shows.
struct StyleParts {
    bool splash, banner, lines, labels;
};
StyleParts PartsOf(int style);

// A collection index: a 1-based position or a key.
struct PageIndex {
    bool byKey = false;
    long position = 0;
    std::string key;
    static PageIndex At(long position) { return {false, position, {}}; }
    static PageIndex Key(std::string key) { return {true, 0, std::move(key)}; }
};

// The bar's pages in the order added, optionally keyed (keys compare
// without regard to case). Failures are the collection's error numbers.
template <class T>
class PageCollection {
public:
    enum Error { kOk = 0, kInvalidCall = 5, kSubscript = 9, kKeyInUse = 457 };

    Error Add(T item, const std::string* key) {
        if (key && Find(PageIndex::Key(*key)) >= 0) return kKeyInUse;
        items_.push_back({std::move(item), key ? *key : std::string(), key != nullptr});
        return kOk;
    }
    Error Remove(const PageIndex& index) {
        const long at = Find(index);
        if (at < 0) return index.byKey ? kInvalidCall : kSubscript;
        items_.erase(items_.begin() + at);
        return kOk;
    }
    // The item, or null.
    const T* Item(const PageIndex& index) const {
        const long at = Find(index);
        return at < 0 ? nullptr : &items_[static_cast<size_t>(at)].item;
    }
    bool Exists(const PageIndex& index) const { return !items_.empty() && Find(index) >= 0; }
    long Count() const { return static_cast<long>(items_.size()); }
    void Clear() { items_.clear(); }
    template <class F>
    void ForEach(F&& f) const {
        for (const auto& e : items_) f(e.item);
    }

private:
    struct Entry {
        T item;
        std::string key;
        bool keyed;
    };
    static bool SameKey(const std::string& a, const std::string& b);
    long Find(const PageIndex& index) const {
        if (!index.byKey) {
            return index.position >= 1 && index.position <= Count() ? index.position - 1 : -1;
        }
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].keyed && SameKey(items_[i].key, index.key)) return static_cast<long>(i);
        return -1;
    }
    std::vector<Entry> items_;
};

bool SameKeyText(const std::string& a, const std::string& b);

template <class T>
bool PageCollection<T>::SameKey(const std::string& a, const std::string& b) {
    return SameKeyText(a, b);
}

}  // namespace corvella::wizard
