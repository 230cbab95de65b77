#include "Trn_Message.h"

#include <utility>

namespace Trn {

std::string severityLabel(MessageSeverity severity)
{
    switch (severity) {
    case INFORMATION:
        return "Information";
    case WARNING:
        return "Warning";
    case ERROR:
        return "Error";
    }
    return std::string();
}

Message::Message(MessageSeverity severity, Location location, std::uint32_t code, std::string text)
    : m_Severity(severity), m_Location(location), m_Code(code), m_Text(std::move(text))
{
}

bool operator==(const Message& a, const Message& b)
{
    return a.m_Severity == b.m_Severity && a.m_Location == b.m_Location && a.m_Code == b.m_Code &&
           a.m_Text == b.m_Text;
}

} // namespace Trn
