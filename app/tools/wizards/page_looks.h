// The persisted looks of the wizards' pages: a splash page (band and
// picture at the left) or a banner page with its title and description.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/activex/ole_site.h"

namespace corvella::wizards {

inline std::vector<forms::DesignProperty> SplashPage() {
    return {{"Style", com::Variant(1L)}, {"State", com::Variant(1L)}};
}

inline std::vector<forms::DesignProperty> BannerPage(const char* title, const char* description) {
    return {{"Style", com::Variant(0L)},
            {"State", com::Variant(1L)},
            {"BannerTitle", com::Variant(std::string(title))},
            {"BannerDescription", com::Variant(std::string(description))}};
}

}  // namespace corvella::wizards
