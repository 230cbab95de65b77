#include "Corvale_OTextDocStream.h"

namespace Corvale {

OTextDocStream::OTextDocStream(OTextDocBuf* buf) : std::ostream(buf), m_pDocBuf(buf) {}

} // namespace Corvale
