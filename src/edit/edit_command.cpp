#include "edit_command.h"

#include <utility>

namespace hoofer {

EditCommand::EditCommand(std::string label, EditSelection before)
    : EditCommand(std::move(label), before, before)
{
}

EditCommand::EditCommand(std::string label, EditSelection before, EditSelection after)
    : m_label(std::move(label)), m_before(before), m_after(after)
{
}

EditCommand::~EditCommand() = default;

} // namespace hoofer
