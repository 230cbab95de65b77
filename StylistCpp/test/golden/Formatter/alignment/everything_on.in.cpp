#include <string>
namespace store {
// Limits of one shelf.
const int MAX_ITEMS = 64;
static const char *s_Name = "shelf";
unsigned long s_Count;
template <class T>
T clamp(T value, T low, T high);
int size();
const std::string &label();
enum Kind { SMALL = 1, LARGE = 20 };
class Shelf : public Base {
public:
    Shelf();
    explicit Shelf(int capacity) : m_Capacity(capacity), m_pItems(0) {}
    virtual ~Shelf();
    int capacity() const { return m_Capacity; }
    const Item *find(const std::string &name) const;
    void add(Item *pItem);
protected:
    int m_Capacity = 0;   // slots
    Item **m_pItems;
    std::string m_Label /* shown */ ;
    struct Slot {
        int index;
        Item *pItem = nullptr;
    } m_First;
private:
    static unsigned long s_Instances;
};
void Shelf::add(Item *pItem)
{
    int i = 0;
    unsigned long total = m_Capacity * 2;
    for (int k = 0; k < total; ++k) {
        Item *p = m_pItems[k];
        int n = 1;
    }
    m_pItems[i] = pItem;
}
}
