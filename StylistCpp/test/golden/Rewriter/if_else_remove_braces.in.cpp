void update(Widget* w)
{
    if (!w) { return; }
    if (w->dirty()) {
        w->redraw();
    }
    else {
        w->skip();
    }
    if (w->hidden())
    {
        w->show();   // restore
    }
    if (w->a()) { w->b(); w->c(); }
    for (int i = 0; i < 3; ++i) { w->step(i); }
}
