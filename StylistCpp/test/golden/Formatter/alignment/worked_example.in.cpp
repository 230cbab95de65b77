class Account {
    int id;
    double b;
    unsigned long count;
};
