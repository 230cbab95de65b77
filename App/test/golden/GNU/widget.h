// A widget with members and inline functions.
class Widget : public Base, private Observer
{
public:
  Widget (int width, int height) : m_Width (width), m_Height (height)
  {}
  virtual ~Widget ()
  {}

  int
  width () const
  {
    return m_Width;
  }
  int
  height () const
  {
    return m_Height;
  }
  int
  area () const
  {
    return m_Width * m_Height;
  }
  void
  resize (int w, int h)
  {
    if (w < 0 || h < 0)
        return;
    m_Width = w; m_Height = h;
  }

protected:
  virtual void paint (Canvas& canvas) const;

private:
  int m_Width;
  int m_Height;
  const char* m_pName;
};
