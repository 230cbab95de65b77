// the catch clauses of a function-try-block are laid out as a try statement's: the separator before "catch", the control statement braces and indentation
int parse(const char* text)
try
{
	return convert(text);
}
catch (const std::invalid_argument& e)
{
	log(e.what());
	return -1;
}
// a comment between the clauses
catch (...)
{
	return -2;
}
struct Reader
{
	Reader(int fd) try
	: m_Fd(open(fd))
	{
	}
	catch (...)
	{
		cleanup();
	}
	int m_Fd;
};
void statement()
{
	try
	{
		run();
	}
	catch (...)
	{
		stop();
	}
}
