namespace ns {
class Param {
 public:
  virtual ~Param();
  template <typename T>
  static const T *get(int index);
  unsigned long count;
  char *name;
};
}
