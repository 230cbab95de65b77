int pick(int a){if(a){return 1;}else{return 2;}}
void spin(int n){do{--n;}while(n);while(n){n++;}}
