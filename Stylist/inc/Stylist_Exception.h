// Failure types of the application and the property sets.
#ifndef STYLIST_EXCEPTION_H
#define STYLIST_EXCEPTION_H

#include "Corvale_Exception.h"

#include <string>

namespace Stylist {

// A failure the application reports to its user with the exception's text
// (for example an unknown scheme name). Not derived from any other type.
class AppException {
public:
    explicit AppException(const std::string& message);
    virtual ~AppException();
    virtual std::string message() const;

private:
    std::string m_Message;
};

// A property name that a property set does not accept.
class InvalidPropertyName : public Corvale::Exception {
public:
    using Corvale::Exception::Exception;
    ~InvalidPropertyName() override;
};

// A required property that a scheme does not hold. The message text is
// "Scheme "<scheme>" is missing property <property>."
class PropertyMissingException : public Corvale::Exception {
public:
    PropertyMissingException(const std::string& schemeName, const std::string& propertyName);
    ~PropertyMissingException() override;

    const std::string& schemeName() const { return m_SchemeName; }
    const std::string& propertyName() const { return m_PropertyName; }

private:
    std::string m_SchemeName;
    std::string m_PropertyName;
};

} // namespace Stylist

#endif
