#include "app/TAudioHelp.h"

#include "app/ShippedTexts.h"
#include "util/UtilsClass.h"

namespace olv {

std::vector<std::string> TAudioHelp::Topics() {
    return ShippedTexts::RootList(kFileName, "HelpTopics");
}

std::string TAudioHelp::TopicText(const std::string& topic) {
    return UtilsClass::ReplaceAll(ShippedTexts::RootValue(kFileName, topic), "*", " ");
}

} // namespace olv
