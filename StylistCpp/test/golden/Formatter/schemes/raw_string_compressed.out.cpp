const char* text = R"(first
        eight spaces
	tab
    )";
void f()
{
	g(R"x(a
        b)x", 1);
}
