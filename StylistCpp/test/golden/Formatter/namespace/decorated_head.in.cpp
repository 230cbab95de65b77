namespace std _GLIBCXX_VISIBILITY(default) {
namespace __detail   ABI_TAG  { int x; }
inline namespace v1 [[deprecated]]
{
int y;
}
}
