namespace demo {
enum Color { RED, GREEN = 2, BLUE };
class Counter : public Base {
public:
  Counter(int start) : m_Value(start), m_Steps(0) {}
  int next(int step);
private:
  int m_Value;
  int m_Steps;
};
int Counter::next(int step) {
  if (step>0) { m_Value+=step; } else { m_Value-=1; }
  for (int i=0;i<3;++i) m_Steps++;
  switch (m_Value) {
  case 0: return -1;
  default: break;
  }
  return m_Value;
}
}
