#include "inventory.h"

#include <string>
#include <vector>

namespace store
{
  namespace detail
  {
    int
    clamp (int value, int low, int high)
    {
      if (value < low)
          return low;
      else if (value > high)
          return high;
      return value;
    }
  }  // namespace detail

  Inventory::Inventory (const std::string& name, int capacity) : m_Name (name), m_Capacity (capacity), m_Count (0)
  {
  }

  int
  Inventory::add (const Item& item, int quantity)
  {
    int added = 0;
    for (int i = 0; i < quantity; ++i)
      {
        if (m_Count >= m_Capacity)
            break;
        m_Items.push_back (item);
        ++m_Count; ++added;
      }
    while (added > 0 && !m_Items.back ().valid ())
      {
        m_Items.pop_back ();
        --added;
      }
    switch (item.kind ())
      {
      case Item::FOOD:
        m_Food += added;
        break;
      case Item::TOOL:
        m_Tools += added;
        break;
      default:
        break;
      }
    return detail::clamp (added, 0, quantity);
  }

  bool
  Inventory::remove (const std::string& id)
  {
    try
      {
        for (auto it = m_Items.begin (); it != m_Items.end (); ++it)
            if (it->id () == id)
              {
                m_Items.erase (it);
                --m_Count;
                return true;
              }
      }
    catch (const std::exception& e)
      {
        report (e.what ());
      }
    return false;
  }
}  // namespace store
