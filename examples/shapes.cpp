// A small example for trying out schemes.
#include <cmath>
#include <vector>

namespace geometry {

class Shape
{
public:
  virtual ~Shape() {}
  virtual double area() const = 0;
};

class Circle : public Shape {
public:
    explicit Circle(double r) : m_Radius(r) {}
    double area() const { return 3.14159265358979 * m_Radius*m_Radius; }
private:
    double m_Radius;
};

double totalArea(const std::vector<Shape*>& shapes)
{
  double total=0;
  for(std::size_t i=0;i<shapes.size();++i)
    if(shapes[i]) total+=shapes[i]->area();
  return total;
}

} // namespace geometry
