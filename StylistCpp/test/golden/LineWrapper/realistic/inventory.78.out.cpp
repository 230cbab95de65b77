// Inventory bookkeeping for a small warehouse service.
#include <map>
#include <string>
#include <vector>
#include <iostream>

namespace warehouse {
    enum StockLevel {
        STOCK_EMPTY = 0,
        STOCK_LOW = 10,
        STOCK_NORMAL = 100,
        STOCK_OVERFLOW = 1000
    };

    static const int reorderThresholds[]
            = { 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000 };

    class InventoryLedger : public LedgerBase, public Observable,
                            private NonCopyable {
    public:
        InventoryLedger(const std::string& warehouseName, int capacity,
                        bool trackHistory) : m_Name(warehouseName),
                                             m_Capacity(capacity),
                                             m_TrackHistory(trackHistory),
                                             m_Total(0)
        {
        }

        bool recordMovement(const std::string& articleCode, int quantity,
                            const std::string& reason, long timestamp);

        int available(const std::string& articleCode) const {
            std::map<std::string, int>::const_iterator it
                = m_Stock.find(articleCode);
            return it == m_Stock.end() ? 0 : it->second
                - reservedQuantityFor(articleCode, m_Reservations);
        }

    private:
        std::string m_Name;
        int m_Capacity;
        bool m_TrackHistory;
        int m_Total;
        std::map<std::string, int> m_Stock;
    };

    bool InventoryLedger::recordMovement(const std::string& articleCode,
                                         int quantity,
                                         const std::string& reason,
                                         long timestamp) {
        if (quantity == 0 || articleCode.empty()
            || (m_Total + quantity > m_Capacity && quantity > 0)) {
            return false;
        }
        m_Stock[articleCode] += quantity;
        m_Total = m_Total + quantity;
        if (m_TrackHistory) {
            std::cout << "movement " << articleCode << ": " << quantity
                      << " (" << reason << ") at " << timestamp << std::endl;
        }
        notifyObservers(makeEvent(articleCode, quantity, timestamp),
                        currentObserverList(), true);
        return true;
    }
} // namespace warehouse
