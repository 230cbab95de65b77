class Buffer {
public:
    int size() const;
    const char *data() const;
private:
    char *m_pData;
    unsigned long m_Size;
};
