// Tabs inside literals stay tabs whatever quotes came before them.
int million = 1'000'000; char tab = '	';
long big = 0x1'0000; char c = '	';
double e = 1e+5 + 0x1p-3 + .5'0; char g = '	';
// don't touch "quotes"
char d = '	'; /* it's */ char e2 = '	';
const char* raw = R"x(it's "a	b")x"; char f = '	';
const char* multi = u8R"(
	it's
	")"; char h = '	';
const char* s = "a	b"; int n = 1'0; const char* t = "	";
