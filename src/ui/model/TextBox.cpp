#include "ui/model/TextBox.h"

namespace vindle {

TextBox::TextBox(std::string name, int index, Frame* parent, std::string text)
    : Control(ControlKind::TextBox, std::move(name), index, parent, std::string()),
      text_(std::move(text))
{}

void TextBox::setText(std::string text)
{
    if (text == text_)
        return;
    text_ = std::move(text);
    notifyListeners();
    if (change_)
        change_();
}

} // namespace vindle
