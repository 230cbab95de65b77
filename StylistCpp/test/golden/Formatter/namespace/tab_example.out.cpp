namespace n
{
	int a;
}
