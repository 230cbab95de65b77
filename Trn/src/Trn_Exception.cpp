#include "Trn_Exception.h"

#include <utility>

namespace Trn {

Exception::Exception(std::string message) : m_Message(std::move(message)) {}

Exception::~Exception() = default;

AlreadyExistsException::AlreadyExistsException()
    : Exception("Attempt to add an object to a collection that already exists in that collection.")
{
}

} // namespace Trn
