int parse(Reader& r)
{
    switch (r.kind()) {
    case 0:
        if (r.empty()) {return 0;}
        break;
    default:
        while (r.more()) {r.skip();}
    }
    try {
        if (r.bad()) {throw Error();}
    }
    catch (const Error& e) {
        for (auto& h : handlers) {h(e);}
    }
    catch (...) { if (r.strict()) {throw;} }
    return r.value();
}
