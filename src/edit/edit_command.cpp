#include "edit_command.h"

#include <utility>

namespace hoofer {

EditCommand::EditCommand(std::string label, EditSelection before)
    : EditCommand(std::move(label), before, before)
{
}

EditCommand::EditCommand(std::string label, EditSelection before, EditSelection after)
    : label_(std::move(label)), before_(before), after_(after)
{
}

EditCommand::~EditCommand() = default;

} // namespace hoofer
