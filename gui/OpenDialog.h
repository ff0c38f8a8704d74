// TOpenDialog: asks the user for a file through the platform's dialog. While
// it is open, timers and repaints go on and no form takes input.
#pragma once

#include <cstdint>
#include <string>

#include "gui/Component.h"

namespace gui {

using TOpenOptions = std::uint32_t;
constexpr TOpenOptions ofHideReadOnly = 1u << 0;
constexpr TOpenOptions ofEnableSizing = 1u << 1;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

    std::string Filter;    // "Name|pattern" pairs
    std::string FileName;  // preselected before, chosen after Execute
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;

    // True when the user chose a file (FileName then holds its path).
    bool Execute();
};

}  // namespace gui
