#include "Stylist_Exception.h"

#include "Stylist_Messages.h"

namespace Stylist {

AppException::AppException(const std::string& message) : m_Message(message) {}
AppException::~AppException() = default;
std::string AppException::message() const { return m_Message; }

InvalidPropertyName::~InvalidPropertyName() = default;

PropertyMissingException::PropertyMissingException(const std::string& schemeName,
                                                   const std::string& propertyName)
    : Corvale::Exception(fillMessage("Scheme \"%1%\" is missing property %2%.", schemeName, propertyName)),
      m_SchemeName(schemeName),
      m_PropertyName(propertyName)
{
}

PropertyMissingException::~PropertyMissingException() = default;

} // namespace Stylist
