enum Color
{
  Red ,
  Green = 2,
  Blue
};
enum class Empty {};
