struct D:public B1,protected virtual B2,B3{};
class E : public F
{
};
