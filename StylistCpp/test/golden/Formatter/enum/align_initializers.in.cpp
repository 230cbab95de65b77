enum Flags {
    NONE = 0,
    READ = 1, // r
    WRITE_ACCESS = 2,
    ALL
};
enum Short { A = 1, BB = 2 };
