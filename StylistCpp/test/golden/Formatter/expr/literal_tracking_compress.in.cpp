// Spaces inside literals are never compressed to tabs.
int n = 1'000; char q = '"'; const char* s = "        a";
/* it's */ const char* t = "        b";
const char* raw = R"(
        it's "        "
)"; const char* u = "        c";
