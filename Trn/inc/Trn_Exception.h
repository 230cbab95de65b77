// Failure types of the translation framework.
//
// Like every failure type of the system, these do not derive from
// std::exception; handlers name them explicitly.
#ifndef TRN_EXCEPTION_H
#define TRN_EXCEPTION_H

#include <string>

namespace Trn {

// The base of every exception of the Trn and Cpp namespaces: one message.
class Exception {
public:
    explicit Exception(std::string message);
    virtual ~Exception();
    std::string message() const { return m_Message; }

private:
    std::string m_Message;
};

// Raised when an object is added to a collection that already holds that
// very object (a node added twice to the same interior node).
class AlreadyExistsException : public virtual Exception {
public:
    AlreadyExistsException();
};

} // namespace Trn

#endif
