// a constructor and a function with a function-try-block parse as definitions
class N {
    N(int k) noexcept try : m(k), n(2)
    {
        f(1);
    } catch (const std::exception& e) {
        throw;
    } catch (...) {
        throw;
    }
    int m;
};
void f() try {
    g();
} catch (...) {}
