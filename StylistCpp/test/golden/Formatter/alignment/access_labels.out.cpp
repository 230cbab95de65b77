struct Limits {
    int             low    = 0;
    double          factor = 1.5;
public:
    unsigned long   high = 100;
    int             step = 1;
};
