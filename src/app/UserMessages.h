#pragma once

#include <string>

class QWidget;

namespace olv {

// The short modal messages of the window ("Please select a city from the list.") and its
// Yes/No questions. One small interface, so that tests answer them instead of a person.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void Inform(const std::string& text) = 0;
    // True for Yes.
    virtual bool Ask(const std::string& text) = 0;
};

// Message boxes over the given window, captioned "Olvenar".
class MessageBoxes final : public UserMessages {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void Inform(const std::string& text) override;
    bool Ask(const std::string& text) override;

private:
    QWidget* parent_;
};

} // namespace olv
