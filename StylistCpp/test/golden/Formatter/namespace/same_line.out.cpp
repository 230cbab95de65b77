namespace outer { namespace inner { int a;
                    int b; } }
