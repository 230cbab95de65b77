namespace n{int a;}
