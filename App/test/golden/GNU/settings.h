#ifndef SETTINGS_H
#define SETTINGS_H

#include <cstddef>

#define SETTINGS_VERSION 3
#define SETTINGS_MAX(a, b) ((a) > (b) ? (a) : (b))

#ifdef _WIN32
#  define SETTINGS_API __declspec(dllexport)
#else
#  define SETTINGS_API
#endif

enum Level
{
  LOW = 1,
  MEDIUM,
  HIGH = 10
};

struct Settings
{
  int level;
  std::size_t size;
  const char *path;
};

template <typename T, int N>
class Table
{
public:
  T values[N];
  int
  count () const
  {
    return N;
  }
};

SETTINGS_API int loadSettings (const char *path, Settings *out);
SETTINGS_API void resetSettings (Settings &settings);

extern "C"
  {
    int settings_abi_version (void);
  }

#endif // SETTINGS_H
