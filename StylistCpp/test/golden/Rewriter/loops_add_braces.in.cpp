void drain(Queue& q)
{
    for (auto& item : q.items())
        item.release();
    while (!q.empty()) q.pop();
    do q.poll(); while (q.pending());
    do
        spin();
    while (locked());
    if (q.closed()) return;
    for (;;) { q.wait(); }
}
