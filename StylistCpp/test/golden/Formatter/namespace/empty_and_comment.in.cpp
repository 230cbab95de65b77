namespace a {}
namespace b { // about b
int x;
}
namespace c {
}
